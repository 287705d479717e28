#include "files/RecordFormat.h"

#include "files/Backups.h"
#include "files/ProgrammingRecord.h"
#include "files/RecordChain.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>
#include <QTimeZone>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

// Records and backups on disk hold these bytes; spreadsheets look for them and the chain's
// checksums cover them. The expected bytes are written out here, not taken from the program.

namespace {

const QDateTime Moment(QDate(2026, 12, 7), QTime(14, 3, 22), QTimeZone(3600));

QByteArray headLineOfANewRecord(const QString& path) {
  if (!AppendRecordEntry(
          path, RecordEntry{RecordTime(Moment), RecordOperationName(OperationKind::Read), "1A2B",
                            "1A2B", ResultOk, "", "", ""})) {
    return {};
  }
  const QByteArray bytes = readBytes(path);
  return bytes.left(bytes.indexOf('\n') + 1);
}

QByteArray backupName(const QString& data, const QString& code, BackupKind kind) {
  ImageBytes bytes{};
  bytes[0x2E] = 7;
  return WriteBackup(data, code, kind, bytes, Moment).relativePath.toUtf8();
}

TEST(RecordFormatTest, TheRecordAndTheBackupsAreWrittenInTheWordsEarlierVersionsWrote) {
  QTemporaryDir root;
  const QString data = root.path() + u'/';
  struct Case {
    const char* what;
    QByteArray written;
    QByteArray expected;
  };
  const Case cases[] = {
      {"head line of a new record", headLineOfANewRecord(data + RecordFileName),
       "\xEF\xBB\xBFZeit;Vorgang;Funkkennung vorher;Funkkennung nachher;Ergebnis;Meldung;"
       "Sicherung;SHA-256;Serie;Zuordnung;Techniker;Einrichtung;Raum/Bewohner;"
       "Pr\xC3\xBC"
       "fkette\r\n"},
      {"record file", RecordFileName.toUtf8(), "Protokoll.csv"},
      {"result of success", ResultOk.toUtf8(), "OK"},
      {"read", RecordOperationName(OperationKind::Read).toUtf8(), "Lesen"},
      {"write", RecordOperationName(OperationKind::Write).toUtf8(), "Schreiben"},
      {"code change", RecordOperationName(OperationKind::ChangeCode).toUtf8(),
       "Kennnummer \xC3\xA4ndern"},
      {"check", RecordOperationName(OperationKind::Verify).toUtf8(),
       "Pr\xC3\xBC"
       "fen"},
      {"backup of a read", backupName(data, "1a2b", BackupKind::Read),
       "Sicherungen/1A2B/2026-12-07_14-03-22_Lesen.ukova"},
      {"backup of a write", backupName(data, "1A2B", BackupKind::Write),
       "Sicherungen/1A2B/2026-12-07_14-03-22_Schreiben.ukova"},
      {"second backup in the same second", backupName(data, "1A2B", BackupKind::Write),
       "Sicherungen/1A2B/2026-12-07_14-03-22_Schreiben_2.ukova"},
      {"backup of a code that is none", backupName(data, "../x", BackupKind::Read),
       "Sicherungen/unbekannt/2026-12-07_14-03-22_Lesen.ukova"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.written, c.expected) << c.what;
}

// A record as the version before this one wrote it: its head line and four operations, each
// chained to the one before.
const QByteArray EarlierRecord =
    "\xEF\xBB\xBF"
    "Zeit;Vorgang;Funkkennung vorher;Funkkennung nachher;Ergebnis;Meldung;Sicherung;SHA-256;Serie;"
    "Zuordnung;Techniker;Einrichtung;Raum/Bewohner;Pr\xC3\xBC"
    "fkette\r\n"
    "\"=\"\"2026-12-07T14:03:22+01:00\"\"\";Lesen;\"=\"\"1A2B\"\"\";\"=\"\"1A2B\"\"\";OK;;"
    "Sicherungen/1A2B/2026-12-07_14-03-22_Lesen.ukova;"
    "\"=\"\"5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f5f\"\"\";;;Anna Berg;"
    "Haus Linde;Zi 5;"
    "\"=\"\"00000000:f4c3d52b0101766bacdc54991ec0dfa7e0917105c8bf4bcfe0aa73db7f864d7d\"\"\"\r\n"
    "\"=\"\"2026-12-07T14:05:10+01:00\"\"\";Schreiben;\"=\"\"1A2B\"\"\";\"=\"\"1A2B\"\"\";"
    "\"=\"\"11021\"\"\";Der U-KOVA antwortet nicht.;;;S20261207-1400;Haus Linde / Zi 5;Anna Berg;"
    "Haus Linde;Zi 5;"
    "f4c3d52b:ed249c2309e2815aff8d4936da13a597b6921787659520fc4ab00b7bee9d7529\r\n"
    "\"=\"\"2026-12-07T14:06:00+01:00\"\"\";Kennnummer \xC3\xA4ndern;\"=\"\"1A2B\"\"\";"
    "\"=\"\"7105\"\"\";OK;;;;S20261207-1400;Haus Linde / Zi 5;Anna Berg;Haus Linde;Zi 5;"
    "ed249c23:e1248a54dd6298cfcba9ecb77c0d18db1232f2ae71036cb74bd416e3d7f4ce48\r\n"
    "\"=\"\"2026-12-07T14:07:30+01:00\"\"\";Pr\xC3\xBC"
    "fen;\"=\"\"7105\"\"\";\"=\"\"7105\"\"\";OK;;;;;;Anna Berg;Haus Linde;Zi 5;"
    "e1248a54:b3d81313f721948aa6e3d831ddb6a70f19d45383124980a7ee68a807baf3121f\r\n";

RecordChainState chainOf(const QString& path) {
  RecordChainReader reader;
  EXPECT_TRUE(reader.Open(path, 0));
  while (!reader.Done()) reader.CheckFurther(1 << 20);
  return reader.State();
}

TEST(RecordFormatTest, ARecordOfTheEarlierVersionReadsWithItsChainIntactAndGrowsOnIt) {
  QTemporaryDir root;
  const QString path = root.filePath(RecordFileName);
  writeBytes(path, EarlierRecord);

  const std::optional<std::vector<RecordEntry>> entries = ReadRecordFile(path);
  ASSERT_TRUE(entries);
  ASSERT_EQ(entries->size(), 4u);
  const RecordEntry& read = entries->at(0);
  EXPECT_EQ(read.time, "2026-12-07T14:03:22+01:00");
  EXPECT_EQ(read.operation, RecordOperationName(OperationKind::Read));
  EXPECT_EQ(read.result, ResultOk);
  EXPECT_EQ(read.backup, "Sicherungen/1A2B/2026-12-07_14-03-22_Lesen.ukova");
  EXPECT_EQ(read.sha256, QStringLiteral("5f").repeated(32));
  EXPECT_EQ(read.technician, "Anna Berg");
  EXPECT_EQ(read.resident, "Zi 5");
  const RecordEntry& write = entries->at(1);
  EXPECT_EQ(write.operation, RecordOperationName(OperationKind::Write));
  EXPECT_EQ(write.result, "11021");
  EXPECT_EQ(write.message, "Der U-KOVA antwortet nicht.");
  EXPECT_EQ(write.series, "S20261207-1400");
  EXPECT_EQ(write.assignment, "Haus Linde / Zi 5");
  EXPECT_EQ(entries->at(2).operation, RecordOperationName(OperationKind::ChangeCode));
  EXPECT_EQ(entries->at(2).codeAfter, "7105");
  EXPECT_EQ(entries->at(3).operation, RecordOperationName(OperationKind::Verify));

  RecordChainState chain = chainOf(path);
  EXPECT_EQ(chain.kind, RecordChainState::Break::None);
  EXPECT_EQ(chain.checkedLines, 4);
  EXPECT_EQ(chain.linesBeforeChain, 0);

  // This version's next line chains to the earlier version's last one.
  RecordEntry next = entries->back();
  next.time = "2026-12-07T14:09:00+01:00";
  ASSERT_TRUE(AppendRecordEntry(path, next));
  EXPECT_TRUE(readBytes(path).startsWith(EarlierRecord));
  chain = chainOf(path);
  EXPECT_EQ(chain.kind, RecordChainState::Break::None);
  EXPECT_EQ(chain.checkedLines, 5);
  EXPECT_EQ(ReadRecordFile(path)->size(), 5u);
}

}  // namespace
