#include "files/Backups.h"
#include "files/ProgrammingRecord.h"
#include "files/SafetyNet.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// What the program writes for people names paths with backslashes, as Windows' own programs and
// the earlier program on the PC do; it reads them back as its own paths (the settings' folders:
// tests/windows/app/FolderPathsTest.cpp).
namespace {

TEST(WindowsPathsTest, TheRecordNamesItsBackupWithBackslashesAndStillFindsIt) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
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
