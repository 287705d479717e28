#include "app/folder/Selectfolder.h"
#include "files/RecentFiles.h"
#include "files/VembaIni.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

// The default folder and the recent files are written for people, with backslashes, as Windows'
// own programs and the earlier program on the PC write them; they read back as the program's own
// paths.
namespace {

QByteArray settingsText(const VembaIni& settings) {
  QFile file(settings.Path());
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(WindowsFolderPathsTest, TheSettingsFileKeepsFoldersAndRecentFilesWithBackslashes) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  VembaIni settings;
  settings.SetPath(folder.filePath(QStringLiteral("Values.ini")));
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

  EXPECT_TRUE(settingsText(settings).contains("File1=C:\\Pflege\\Haus A\\Zimmer 12.ukova"));
  EXPECT_TRUE(settingsText(settings).contains("=D:\\Konfigurationen"));
  EXPECT_EQ(recent.Paths(), QStringList{QStringLiteral("C:/Pflege/Haus A/Zimmer 12.ukova")});
  EXPECT_EQ(shown, QStringLiteral("D:\\Konfigurationen"));
  EXPECT_EQ(chosen, QStringLiteral("D:/Konfigurationen"));
}

}  // namespace
