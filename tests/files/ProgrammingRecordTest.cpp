#include "files/ProgrammingRecord.h"

#include "files/Backups.h"
#include "files/ImageFiles.h"
#include "files/SafetyNet.h"
#include "image/Texts.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

const QDateTime Moment(QDate(2026, 12, 7), QTime(14, 3, 22), QTimeZone(3600));

ImageBytes sampleBytes(std::uint8_t fill) {
  ImageBytes bytes{};
  bytes.fill(fill);
  bytes[0x2E] = 7;
  return bytes;
}

OperationOutcome read(std::optional<ImageBytes> image, int message = 0) {
  return OperationOutcome{OperationKind::Read,
                          "1A2B",
                          "1A2B",
                          message,
                          message == 0 ? QString() : "Fehler",
                          image,
                          Moment};
}

TEST(ProgrammingRecordTest, LinesFollowGermanSpreadsheetConventions) {
  struct Case {
    QStringList columns;
    QByteArray line;
  };
  const Case cases[] = {
      {{"a", "b"}, "a;b"},
      {{"", "x", ""}, ";x;"},
      {{"mit ; darin"}, "\"mit ; darin\""},
      {{"sagt \"OK\""}, "\"sagt \"\"OK\"\"\""},
      {{" Rand"}, "\" Rand\""},
      {{"zwei\nZeilen"}, "\"zwei\nZeilen\""},
      // What a spreadsheet would run as a formula is kept text by an apostrophe.
      {{"=1+1", "-5"}, "'=1+1;'-5"},
      {{"+1", "@SUM(A1)", "'x"}, "'+1;'@SUM(A1);''x"},
      {{"\tx", "\rx"}, "'\tx;\"'\rx\""},
      // What it would take for a number or a date is written as a text formula.
      {{"1E10", "0123", "BEEF"}, "\"=\"\"1E10\"\"\";\"=\"\"0123\"\"\";BEEF"},
      {{"2026-12-07T14:03:22+01:00"}, "\"=\"\"2026-12-07T14:03:22+01:00\"\"\""},
      {{"1\"2"}, "\"=\"\"1\"\"\"\"2\"\"\""},
      {{QString(256, u'1')}, QByteArray(256, '1')},
      {{"=\"1\""}, "\"'=\"\"1\"\"\""},
      {{QString::fromUtf8("Prüfen")},
       QByteArray("Pr\xC3\xBC"
                  "fen")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatRecordLine(c.columns), c.line) << c.line.toStdString();
    // The record window reads every column back as it was.
    QStringList columns =
        c.columns + QStringList(RecordColumnHeads().size() - c.columns.size(), "");
    const auto parsed = ParseRecord(FormatRecordLine(columns));
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(RecordColumns(parsed[0]), columns) << c.line.toStdString();
  }
}

TEST(ProgrammingRecordTest, AppendingKeepsEveryEarlierByteAndStartsANewFileWithBomAndHeads) {
  QTemporaryDir folder;
  const QString path = folder.filePath("Protokoll.csv");
  const RecordEntry first{RecordTime(Moment),
                          "Lesen",
                          "1A2B",
                          "1A2B",
                          "OK",
                          "",
                          "Sicherungen/x",
                          "ab",
                          "S20261208-102500",
                          "Haus Linde / Zi 1"};
  RecordEntry second = first;
  second.result = QString::number(Msg::ReadFailed);
  second.message = "Fehler\nbeim Lesen";
  ASSERT_TRUE(AppendRecordEntry(path, first));
  const QByteArray before = readBytes(path);
  EXPECT_TRUE(before.startsWith("\xEF\xBB\xBF" +
                                FormatRecordLine(RecordColumnHeads() << RecordChainHead) + "\r\n"));
  ASSERT_TRUE(AppendRecordEntry(path, second));
  EXPECT_TRUE(readBytes(path).startsWith(before));
  second.message = "Fehler beim Lesen";  // one line a record
  EXPECT_THAT(*ReadRecordFile(path), ElementsAre(first, second));

  // A line an earlier write left unfinished does not swallow the next one.
  writeBytes(path, before + "2026-12-07T15:00:00+01:00;Lesen");
  ASSERT_TRUE(AppendRecordEntry(path, first));
  EXPECT_EQ(ReadRecordFile(path)->size(), 3u);
  EXPECT_EQ(ReadRecordFile(folder.filePath("none.csv"))->size(), 0u);

  // A full disk: the line is refused whole, nothing of it stays behind.
  if (!PlatformLimitsFileSize()) return;
  const QByteArray kept = readBytes(path);
  EXPECT_EQ(
      InChildWithFileSizeLimit(kept.size() + 20, [&] { return AppendRecordEntry(path, first); }),
      false);
  EXPECT_EQ(readBytes(path), kept);

  // A record begun before the series columns keeps reading: its shorter head is no entry.
  writeBytes(path, "\xEF\xBB\xBF" + FormatRecordLine(RecordColumnHeads().mid(0, 8)) + "\r\n");
  ASSERT_TRUE(AppendRecordEntry(path, first));
  EXPECT_THAT(*ReadRecordFile(path), ElementsAre(first));
}

TEST(ProgrammingRecordTest, TimesCarryTheirOffset) {
  EXPECT_EQ(RecordTime(Moment), "2026-12-07T14:03:22+01:00");
  EXPECT_EQ(RecordTime(QDateTime(QDate(2026, 12, 7), QTime(14, 3, 22), QTimeZone::utc())),
            "2026-12-07T14:03:22+00:00");
  EXPECT_EQ(RecordTime(QDateTime(QDate(2026, 7, 1), QTime(8, 0), QTimeZone(-(3 * 3600 + 1800)))),
            "2026-07-01T08:00:00-03:30");
}

class KeepOperationTest : public ::testing::Test {
 protected:
  QTemporaryDir root;
  QString data = root.path() + u'/';

  std::vector<RecordEntry> record() { return ReadRecordFile(data + RecordFileName).value(); }
};

TEST_F(KeepOperationTest, AReadLeavesItsBytesAsABackupThatTheRecordNames) {
  EXPECT_THAT(KeepOperation(data, read(sampleBytes(0x11))), ::testing::IsEmpty());
  EXPECT_THAT(KeepOperation(data, read(sampleBytes(0x22))), ::testing::IsEmpty());
  const QString first = "Sicherungen/1A2B/2026-12-07_14-03-22_Lesen.ukova";
  const QString second = "Sicherungen/1A2B/2026-12-07_14-03-22_Lesen_2.ukova";
  EXPECT_EQ(readBytes(data + first),
            QByteArray(reinterpret_cast<const char*>(sampleBytes(0x11).data()), 256));
  EXPECT_EQ(readBytes(data + second),
            QByteArray(reinterpret_cast<const char*>(sampleBytes(0x22).data()), 256));
  // Saving a backup opened into the window must not replace it.
  EXPECT_FALSE(WriteImageFile(sampleBytes(0x33), data + first));
  EXPECT_EQ(readBytes(data + first),
            QByteArray(reinterpret_cast<const char*>(sampleBytes(0x11).data()), 256));
  const auto entries = record();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0],
            (RecordEntry{"2026-12-07T14:03:22+01:00", "Lesen", "1A2B", "1A2B", "OK", "",
                         QDir::toNativeSeparators(first), Sha256Hex(sampleBytes(0x11))}));
  EXPECT_EQ(entries[1].backup, QDir::toNativeSeparators(second));
  EXPECT_EQ(Sha256Hex(ImageBytes{}),
            "5341e6b2646979a70e57653007a1f310169421ec9bdd9f1a5648f75ade005af1");
}

TEST_F(KeepOperationTest, WhoAndForWhomFollowTheEarlierColumnsAndReadBackAsGiven) {
  struct Case {
    QString technician, site, resident;  // as given
    QString written;                     // the line's three columns before the chain
    QStringList read;                    // as read back
  };
  const Case cases[] = {
      {"Anna Müller",
       "Haus Linde",
       "Zi. 12",
       "Anna Müller;Haus Linde;Zi. 12",
       {"Anna Müller", "Haus Linde", "Zi. 12"}},
      {"", "", "", ";;", {"", "", ""}},
      // Spreadsheet guards: a formula, a separator with quotes, what looks like a number.
      {"=HYPERLINK()",
       "Haus \"Nord\"; Flur 2",
       "0123",
       "'=HYPERLINK();\"Haus \"\"Nord\"\"; Flur 2\";\"=\"\"0123\"\"\"",
       {"=HYPERLINK()", "Haus \"Nord\"; Flur 2", "0123"}},
      // One line a record: what came with line ends (an assignment list's cell) is put on one.
      {" Anna\n",
       "Haus\r\nLinde",
       "Zi.\t12 ",
       "Anna;Haus Linde;Zi. 12",
       {"Anna", "Haus Linde", "Zi. 12"}},
  };
  for (const Case& c : cases) {
    QFile::remove(data + RecordFileName);
    OperationOutcome outcome = read(std::nullopt, Msg::ReadFailed);
    outcome.technician = c.technician;
    outcome.site = c.site;
    outcome.resident = c.resident;
    EXPECT_THAT(KeepOperation(data, outcome), ::testing::IsEmpty());
    // Before the chain's column, which ends the line.
    const QByteArray bytes = readBytes(data + RecordFileName);
    EXPECT_TRUE(bytes.left(bytes.lastIndexOf(';')).endsWith(c.written.toUtf8()))
        << bytes.toStdString();
    const RecordEntry entry = record().at(0);
    EXPECT_EQ((QStringList{entry.technician, entry.site, entry.resident}), c.read);
  }
  // A reader of the earlier columns finds them where they were.
  EXPECT_EQ(RecordColumnHeads().mid(10),
            (QStringList{"Techniker", "Einrichtung", "Raum/Bewohner"}));
  EXPECT_EQ(RecordColumnHeads().at(9), "Zuordnung");
  // A record begun before these columns reads its lines with them empty.
  writeBytes(data + RecordFileName,
             "\xEF\xBB\xBF" + FormatRecordLine(RecordColumnHeads().mid(0, 10)) + "\r\nt;Lesen\r\n");
  EXPECT_EQ(record().at(0).technician, "");
}

TEST_F(KeepOperationTest, AFailedOperationIsRecordedWithItsMessageAndNoBackup) {
  EXPECT_THAT(KeepOperation(data, read(std::nullopt, Msg::ReadFailed)), ::testing::IsEmpty());
  EXPECT_EQ(record().at(0).result, QString::number(Msg::ReadFailed));
  EXPECT_TRUE(record().at(0).backup.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(data + BackupsFolderName));
}

TEST_F(KeepOperationTest, WhatCannotBeWrittenIsSaidAndTheRestIsStillKept) {
  // Directories in the files' places stop root as well as any user.
  writeBytes(data + BackupsFolderName, "not a folder");
  EXPECT_THAT(
      KeepOperation(data, read(sampleBytes(1))),
      ElementsAre(FormatText(Msg::BackupNotSaved,
                             {QDir::toNativeSeparators(BackupFolder(data, "1A2B") +
                                                       "2026-12-07_14-03-22_Lesen.ukova")})));
  EXPECT_TRUE(record().at(0).backup.isEmpty());
  // No checksum of bytes that are on no disk; the line says that the backup is missing.
  EXPECT_TRUE(record().at(0).sha256.isEmpty());
  EXPECT_EQ(record().at(0).message, Text(Msg::RecordBackupMissing));

  QDir(data).remove(BackupsFolderName);
  QDir(data).remove(RecordFileName);
  ASSERT_TRUE(QDir(data).mkdir(RecordFileName));
  EXPECT_THAT(KeepOperation(data, read(sampleBytes(1))),
              ElementsAre(FormatText(Msg::RecordNotWritten,
                                     {QDir::toNativeSeparators(data + RecordFileName)})));
  EXPECT_TRUE(QFileInfo::exists(data + "Sicherungen/1A2B/2026-12-07_14-03-22_Lesen.ukova"));
  EXPECT_EQ(ReadRecordFile(data + RecordFileName), std::nullopt);
}

TEST_F(KeepOperationTest, ACodeThatIsNoCodeNeverBecomesAPath) {
  for (const char* code : {"../..", "1A2", "1a2b"}) {
    OperationOutcome operation = read(sampleBytes(3));
    operation.codeAfter = code;
    EXPECT_THAT(KeepOperation(data, operation), ::testing::IsEmpty());
  }
  EXPECT_THAT(QDir(data + BackupsFolderName).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              ElementsAre("1A2B", "unbekannt"));
}

// What a write is judged against: the newest backup of the code by the time and counter in its
// name, whatever the file system's order.
TEST_F(KeepOperationTest, TheLatestBackupIsTheNewestByItsNameAndOnlyOfARealCode) {
  EXPECT_EQ(LatestBackup(data, "1A2B"), std::nullopt);
  OperationOutcome operation = read(sampleBytes(0x11));
  for (int second : {3, 1, 2}) {
    operation.finishedAt = QDateTime(QDate(2026, 12, 7), QTime(14, 3, second));
    operation.image = sampleBytes(static_cast<std::uint8_t>(second));
    EXPECT_THAT(KeepOperation(data, operation), ::testing::IsEmpty());
  }
  EXPECT_EQ(LatestBackup(data, "1a2b"), sampleBytes(3));
  // The tenth backup of one second comes after the second.
  operation.finishedAt = QDateTime(QDate(2026, 12, 7), QTime(14, 3, 3));
  for (std::uint8_t counter = 2; counter <= 10; ++counter) {
    operation.image = sampleBytes(static_cast<std::uint8_t>(0x40 + counter));
    EXPECT_THAT(KeepOperation(data, operation), ::testing::IsEmpty());
  }
  EXPECT_EQ(LatestBackup(data, "1A2B"), sampleBytes(0x4A));
  // A newer file that is no configuration is passed over.
  writeBytes(BackupFolder(data, "1A2B") + "2027-01-01_00-00-00_Lesen.ukova", "short");
  EXPECT_EQ(LatestBackup(data, "1A2B"), sampleBytes(0x4A));
  operation.codeAfter = "../..";
  EXPECT_THAT(KeepOperation(data, operation), ::testing::IsEmpty());
  EXPECT_EQ(LatestBackup(data, "../.."), std::nullopt);
}

}  // namespace

namespace {

RecordEntry numbered(int number, const QString& message = QString()) {
  const QString code = QStringLiteral("%1").arg(0x1000 + number % 50, 4, 16).toUpper();
  return RecordEntry{QString::number(number), "Lesen", code, code, "OK", message, "", ""};
}

QByteArray recordBytes(const std::vector<RecordEntry>& entries) {
  QByteArray bytes = "\xEF\xBB\xBF" + FormatRecordLine(RecordColumnHeads()) + "\r\n";
  for (const RecordEntry& entry : entries) bytes += FormatRecordLine(RecordColumns(entry)) + "\r\n";
  return bytes;
}

// Every entry the reader gives, reading `part` bytes at a time.
std::vector<RecordEntry> readBackwards(const QString& path, qint64 part) {
  RecordTailReader reader;
  EXPECT_TRUE(reader.Open(path));
  std::vector<RecordEntry> entries;
  while (!reader.AtStart()) {
    std::vector<RecordEntry> older = reader.ReadOlder(part);
    entries.insert(entries.end(), older.begin(), older.end());
  }
  return entries;
}

TEST_F(KeepOperationTest, TheRecordIsReadNewestFirstAndEachLineOnlyAsFarAsItsBound) {
  constexpr qint64 Bound = RecordTailReader::MaxRecordLineBytes;
  const QString path = data + RecordFileName;
  const QString huge(3 * 1024 * 1024, u'x');  // longer than a block the reader takes at once
  struct Case {
    const char* what;
    QByteArray bytes;
    std::vector<RecordEntry> newestFirst;
  };
  std::vector<RecordEntry> many;
  for (int number = 0; number < 300; ++number) many.push_back(numbered(number));
  const Case cases[] = {
      {"ordinary lines", recordBytes(many), {many.rbegin(), many.rend()}},
      {"no line end at the end",
       recordBytes({numbered(1)}) + FormatRecordLine(RecordColumns(numbered(2))),
       {numbered(2), numbered(1)}},
      {"a line over the bound keeps its first bytes; its neighbours are whole",
       recordBytes({numbered(1), numbered(2, huge), numbered(3)}),
       {numbered(3), ParseRecord(FormatRecordLine(RecordColumns(numbered(2, huge))).left(Bound))[0],
        numbered(1)}},
      {"one huge line",
       FormatRecordLine({huge}),
       {RecordEntry{huge.left(Bound), "", "", "", "", "", "", ""}}},
      {"a head line further down (two records joined)",
       recordBytes({numbered(1)}) + recordBytes({numbered(2)}),
       {numbered(2), numbered(1)}},
      {"empty", "", {}},
  };
  for (const Case& c : cases) {
    writeBytes(path, c.bytes);
    for (qint64 part : {qint64{1}, qint64{1000}, qint64{1} << 30}) {
      EXPECT_EQ(readBackwards(path, part), c.newestFirst) << c.what << ", parts of " << part;
    }
  }
  EXPECT_TRUE(readBackwards(data + "fehlt.csv", 1).empty());
}

}  // namespace

namespace {}  // namespace
