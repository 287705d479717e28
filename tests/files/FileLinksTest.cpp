#include "files/Backups.h"
#include "files/ProgrammingRecord.h"
#include "files/RecordShown.h"
#include "files/SafetyNet.h"
#include "image/Texts.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

const QString Backup = "Sicherungen/1A2B/2026-12-07_14-03-22_Lesen.ukova";

ImageBytes sampleBytes() {
  ImageBytes bytes{};
  bytes.fill(0x11);
  return bytes;
}

QByteArray sampleFile() {
  const ImageBytes bytes = sampleBytes();
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), ImageSize);
}

OperationOutcome readOutcome() {
  return OperationOutcome{OperationKind::Read,
                          "1A2B",
                          "1A2B",
                          0,
                          QString(),
                          sampleBytes(),
                          QDateTime(QDate(2026, 12, 7), QTime(14, 3, 22), QTimeZone(3600))};
}

class FileLinksTest : public ::testing::Test {
 protected:
  QTemporaryDir root;
  QTemporaryDir elsewhere;
  QString data = root.path() + u'/';
  QString target = elsewhere.path() + u'/';
};

// A link another program or user puts in the place of the record, the backups folder or a code's
// folder is not followed: its target gets nothing, and the user is told which link stopped what.
TEST_F(FileLinksTest, ALinkInThePlaceOfTheRecordOrABackupsFolderIsNotFollowed) {
  struct Case {
    QString linked;  // below the data folder
    bool toFolder;
    Msg::Id message;
  };
  const Case cases[] = {{RecordFileName, false, Msg::RecordIsLink},
                        {BackupsFolderName, true, Msg::BackupFolderIsLink},
                        {"Sicherungen/1A2B", true, Msg::BackupFolderIsLink}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.linked.toStdString());
    QTemporaryDir scratch;
    const QString folder = scratch.path() + u'/';
    const QString outside = target + c.linked.section(u'/', -1) + QStringLiteral("-fremd");
    ASSERT_TRUE(QDir().mkpath(folder + BackupsFolderName));
    if (c.toFolder) {
      ASSERT_TRUE(QDir().mkpath(outside));
      // A backup of the code in the target must not count as one of the program's either.
      ASSERT_TRUE(QDir().mkpath(outside + "/1A2B"));
      writeBytes(outside + "/1A2B/2026-12-01_10-00-00_Lesen.ukova", sampleFile());
      writeBytes(outside + "/2026-12-01_10-00-00_Lesen.ukova", sampleFile());
      ASSERT_TRUE(QDir(folder + c.linked).removeRecursively());
    } else {
      writeBytes(outside, "fremde Datei\n");
    }
    ASSERT_TRUE(QFile::link(outside, folder + c.linked));

    EXPECT_THAT(KeepOperation(folder, readOutcome()),
                ElementsAre(FormatText(c.message, {folder + c.linked})));
    if (c.toFolder) {
      EXPECT_EQ(LatestBackup(folder, "1A2B"), std::nullopt);
      EXPECT_EQ(QDir(outside).entryList(QDir::Files).size() +
                    QDir(outside + "/1A2B").entryList(QDir::Files).size(),
                2);
      EXPECT_TRUE(ReadRecordFile(folder + RecordFileName).has_value());
    } else {
      EXPECT_EQ(readBytes(outside), "fremde Datei\n");
      EXPECT_EQ(ReadRecordFile(folder + RecordFileName), std::nullopt);
      EXPECT_EQ(readBytes(folder + Backup), sampleFile());
    }
  }
}

// The record names a backup that is a link to a file outside: it is not opened, and the refusal
// names the link.
TEST_F(FileLinksTest, ABackupThatIsALinkIsNotOpenedFromTheRecord) {
  ASSERT_TRUE(QDir().mkpath(data + "Sicherungen/1A2B"));
  writeBytes(target + "fremd.ukova", sampleFile());
  ASSERT_TRUE(QFile::link(target + "fremd.ukova", data + Backup));
  const RecordBackupChoice choice = RecordBackupToOpen(data, Backup);
  EXPECT_EQ(choice.path, "");
  EXPECT_EQ(choice.refusal,
            FormatText(Msg::BackupIsLink, {Backup, QDir::cleanPath(data + Backup)}));
}

}  // namespace
