#include "files/Backups.h"
#include "files/ProgrammingRecord.h"
#include "files/RecentFiles.h"
#include "files/SafetyNet.h"
#include "files/Selectfolder.h"
#include "files/VembaIni.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

// What the program writes for people names paths with backslashes, as Windows' own programs and
// the earlier program on the PC do; it reads them back as its own paths.
namespace {

class WindowsPathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    settings.SetPath(folder.filePath(QStringLiteral("Values.ini")));
  }
  QByteArray SettingsText() const {
    QFile file(settings.Path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir folder;
  VembaIni settings;
};

TEST_F(WindowsPathsTest, TheSettingsFileKeepsFoldersAndRecentFilesWithBackslashes) {
  RecentFiles recent{settings};
  recent.Add(QStringLiteral("C:/Pflege/Haus A/Zimmer 12.ukova"));
  ScriptedDialogs dialogs;
  TfrmSelectDirectory dialog{dialogs};
  QString chosen = QStringLiteral("D:/Konfigurationen");
  QString shown;
  QTimer::singleShot(0, &dialog, [&] {
    shown = dialog.edtActiveConfigDirectory->text();
    dialog.accept();
  });
  ASSERT_TRUE(SelectDefaultFolder(dialog, chosen, settings));

  EXPECT_TRUE(SettingsText().contains("File1=C:\\Pflege\\Haus A\\Zimmer 12.ukova"));
  EXPECT_TRUE(SettingsText().contains("=D:\\Konfigurationen"));
  EXPECT_EQ(recent.Paths(), QStringList{QStringLiteral("C:/Pflege/Haus A/Zimmer 12.ukova")});
  EXPECT_EQ(shown, QStringLiteral("D:\\Konfigurationen"));
  EXPECT_EQ(chosen, QStringLiteral("D:/Konfigurationen"));
}

TEST_F(WindowsPathsTest, TheRecordNamesItsBackupWithBackslashesAndStillFindsIt) {
  const QString dataFolder = folder.path() + u'/';
  OperationOutcome read;
  read.codeBefore = read.codeAfter = QStringLiteral("1A2B");
  read.image = ImageBytes{};
  read.finishedAt = QDateTime::currentDateTime();
  ASSERT_TRUE(KeepOperation(dataFolder, read).isEmpty());

  const auto entries = ReadRecordFile(dataFolder + RecordFileName);
  ASSERT_TRUE(entries && entries->size() == 1);
  const QString backup = entries->front().backup;
  EXPECT_TRUE(backup.startsWith(QStringLiteral("Sicherungen\\1A2B\\"))) << backup.toStdString();
  EXPECT_TRUE(QFile::exists(BackupPathInFolder(dataFolder, backup)));
}

}  // namespace
