#include "files/RecordShown.h"

#include "files/Backups.h"
#include "image/Texts.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Kept = "Sicherungen/1A2B/2026-12-07_14-03-22_Lesen.ukova";

// The record is a text file anyone may edit; its backup column must not reach other files (nor
// through a link: tests/files/FileLinksTest.cpp).
TEST(RecordShownTest, ABackupOpensOnlyFromBelowTheBackupsFolder) {
  QTemporaryDir root;
  const QString data = root.path() + u'/';
  ASSERT_TRUE(QDir().mkpath(data + "Sicherungen/1A2B"));
  writeBytes(data + Kept, QByteArray(ImageSize, 0x11));
  const auto outside = [&data](const QString& backup) {
    return FormatText(Msg::RecordBackupOutsideFolder,
                      {backup, QDir::toNativeSeparators(data + BackupsFolderName)});
  };
  struct Case {
    QString backup;
    QString opened;   // empty: refused
    QString refusal;  // what the refusal says
  };
  const Case cases[] = {
      {Kept, QDir::cleanPath(data + Kept), ""},
      {"../Konfigurationen/kueche.ukova", "", outside("../Konfigurationen/kueche.ukova")},
      {"Sicherungen/../Protokoll.csv", "", outside("Sicherungen/../Protokoll.csv")},
      {"/etc/passwd", "", outside("/etc/passwd")},
      {"", "", Text(Msg::RecordNoBackup)},
  };
  for (const Case& c : cases) {
    const RecordBackupChoice choice = RecordBackupToOpen(data, c.backup);
    EXPECT_EQ(choice.path, c.opened) << c.backup.toStdString();
    EXPECT_EQ(choice.refusal, c.refusal) << c.backup.toStdString();
  }
}

RecordChainState broken(RecordChainState::Break kind, qint64 line) {
  const RecordEntry entry{"2026-12-07T14:03:00+01:00", "Lesen", "1A03", "1A03", "OK", "", "", ""};
  return RecordChainState{kind, line, RecordColumns(entry), line - 1, 0};
}

TEST(RecordShownTest, TheChainSaysWhereItBrokeWithAWarningOrHowMuchItChecked) {
  const QString entry = RecordTimeShown("2026-12-07T14:03:00+01:00") + ", Lesen, 1A03";
  const QString lineFour = FormatText(Msg::RecordChainLine, {"4", entry});
  const QString ofEntry = FormatText(Msg::RecordChainLineOfEntry, {entry});
  const auto warned = [](Msg::Id kind, const QString& line) {
    const QString what = FormatText(kind, {line});
    return RecordChainFinding{FormatText(Msg::RecordChainBrokenShort, {what}),
                              FormatText(Msg::RecordChainBroken, {what})};
  };
  using enum RecordChainState::Break;
  struct Case {
    const char* what;
    RecordChainState state;
    bool done;
    qint64 uncheckedBytes;
    RecordChainFinding finding;
  };
  const Case cases[] = {
      {"still checking", broken(Edited, 4), false, 0, {Text(Msg::RecordChainChecking), ""}},
      {"intact",
       RecordChainState{None, 0, {}, 4, 0},
       true,
       0,
       {FormatText(Msg::RecordChainIntact, {"4"}), ""}},
      {"intact after lines before the chain, older megabytes unchecked",
       RecordChainState{None, 0, {}, 4, 2},
       true,
       1024 * 1024 + 1,
       {FormatText(Msg::RecordChainIntact, {"4"}) + u' ' +
            FormatText(Msg::RecordChainBeforeChain, {"2"}) + u' ' +
            FormatText(Msg::RecordChainOlderUnchecked, {"2"}),
        ""}},
      {"edited", broken(Edited, 4), true, 0, warned(Msg::RecordChainEdited, lineFour)},
      {"deleted", broken(Deleted, 4), true, 0, warned(Msg::RecordChainDeleted, lineFour)},
      {"inserted", broken(Inserted, 4), true, 0, warned(Msg::RecordChainInserted, lineFour)},
      {"no checksum", broken(NoChecksum, 4), true, 0, warned(Msg::RecordChainNoChecksum, lineFour)},
      // Lines counted from where the reading began are no line numbers of the file.
      {"edited, read from the middle", broken(Edited, 4), true, 100,
       warned(Msg::RecordChainEdited, ofEntry)},
  };
  for (const Case& c : cases) {
    const RecordChainFinding finding = RecordChainFindingOf(c.state, c.done, c.uncheckedBytes);
    EXPECT_EQ(finding.line, c.finding.line) << c.what;
    EXPECT_EQ(finding.warning, c.finding.warning) << c.what;
  }
}

TEST(RecordShownTest, ACellShowsTheTimeAsGermanReadersWriteItAndALongTextCutShort) {
  const QString time = "2026-12-07T14:03:22+01:00";
  const QString longest(LongestRecordCellShown, u'm');
  const QString longText = longest + u'm';
  constexpr int BackupColumn = 6;
  const RecordEntry failed{time, "Schreiben", "1A2B", "1A2B", "11021", "Keine Verbindung", "", ""};
  const RecordEntry long_{"gestern", "Lesen", "1A2B", "1A2B", "OK", "", longText, ""};
  const RecordEntry longestWhole{"gestern", "Lesen", "1A2B", "1A2B", "OK", "", longest, ""};
  struct Case {
    const char* what;
    const RecordEntry& entry;
    int column;
    QString shown;
  };
  const Case cases[] = {
      {"time", failed, RecordTimeColumn,
       QDateTime::fromString(time, Qt::ISODate).toLocalTime().toString("dd.MM.yyyy HH:mm:ss")},
      {"a time that is none", long_, RecordTimeColumn, "gestern"},
      {"result with its message", failed, RecordResultColumn, "11021 \u2013 Keine Verbindung"},
      {"result alone", long_, RecordResultColumn, "OK"},
      {"as long as shown whole", longestWhole, BackupColumn, longest},
      {"longer", long_, BackupColumn, longest.left(LongestRecordCellShown - 1) + u'\u2026'},
  };
  for (const Case& c : cases) EXPECT_EQ(RecordCellShown(c.entry, c.column), c.shown) << c.what;
}

TEST(RecordShownTest, TheCountSaysWhetherOlderEntriesAreStillComingOrLeftUnread) {
  EXPECT_EQ(RecordCountShown(1, false, false), Text(Msg::RecordOneEntry));
  EXPECT_EQ(RecordCountShown(2, true, true),
            FormatText(Msg::RecordEntryCount, {"2"}) + u' ' + Text(Msg::RecordStillReading));
  EXPECT_EQ(RecordCountShown(0, false, true),
            FormatText(Msg::RecordEntryCount, {"0"}) + u' ' + Text(Msg::RecordOlderNotShown));
}

}  // namespace
