#include "files/RecordChain.h"

#include "files/ProgrammingRecord.h"
#include "image/Texts.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Break = RecordChainState::Break;
using Lines = std::vector<QStringList>;

QStringList fileHeads() {
  return RecordColumnHeads() << RecordChainHead;
}

QStringList entry(int number) {
  const QString code = QStringLiteral("1A%1").arg(number, 2, 10, QChar(u'0'));
  return RecordColumns(
      RecordEntry{QStringLiteral("2026-12-07T14:%1:00+01:00").arg(number, 2, 10, QChar(u'0')),
                  "Lesen", code, code, "OK", "", "", ""});
}

// The entries as the program chains them, after the given lines.
Lines chained(Lines lines, const std::vector<QStringList>& entries) {
  QByteArray previous = lines.empty() ? QByteArray() : RecordChainChecksum(lines.back());
  for (const QStringList& columns : entries) {
    lines.push_back(columns + QStringList{RecordChainColumn(previous, columns)});
    previous = RecordChainChecksum(lines.back());
  }
  return lines;
}

Lines chainedRecord(int count) {
  std::vector<QStringList> entries;
  for (int number = 1; number <= count; ++number) entries.push_back(entry(number));
  return chained({fileHeads()}, entries);
}

template <typename Change>
Lines changed(Lines lines, Change change) {
  change(lines);
  return lines;
}

TEST(RecordChainTest, TheFirstLineWhereTheChainBreaksIsNamedWithWhatHappenedThere) {
  // Line 1 is the head line; entry n is line n + 1.
  const Lines record = chainedRecord(5);
  Lines old{RecordColumnHeads().mid(0, 8), entry(1).mid(0, 8), entry(2).mid(0, 8)};
  // A later program's lines with more columns are chained over all of them.
  const Lines wider = chained({fileHeads()}, {entry(1) << "Haus Linde", entry(2) << "Zi 3"});
  struct Case {
    const char* what;
    Lines lines;
    Break kind;
    qint64 line;
  };
  const Case cases[] = {
      {"intact", record, Break::None, 0},
      {"third entry's result edited",
       changed(record, [](Lines& l) { l[3][4] = QString::number(Msg::ConfigurationFileReadOnly); }),
       Break::Edited, 4},
      {"third entry's checksum edited",
       changed(record,
               [](Lines& l) {
                 l[3].back()[20] = u'f';
                 l[3].back()[21] = u'0';
               }),
       Break::Edited, 4},
      {"last entry edited", changed(record, [](Lines& l) { l[5][2] = "FFFF"; }), Break::Edited, 6},
      {"a wider line's added column edited", changed(wider, [](Lines& l) { l[2][10] = "Zi 4"; }),
       Break::Edited, 3},
      {"second entry deleted", changed(record, [](Lines& l) { l.erase(l.begin() + 2); }),
       Break::Deleted, 3},
      {"first entry deleted", changed(record, [](Lines& l) { l.erase(l.begin() + 1); }),
       Break::Deleted, 2},
      {"last entry deleted (the chain cannot show it)",
       changed(record, [](Lines& l) { l.pop_back(); }), Break::None, 0},
      {"a copy of the first entry inserted after the second",
       changed(record, [](Lines& l) { l.insert(l.begin() + 3, l[1]); }), Break::Inserted, 4},
      {"a line without checksum inserted after the second",
       changed(record, [](Lines& l) { l.insert(l.begin() + 3, entry(9)); }), Break::Inserted, 4},
      {"a line without checksum at the end",
       changed(record, [](Lines& l) { l.push_back(entry(9)); }), Break::NoChecksum, 7},
      {"a line inserted before the first entry",
       changed(record, [](Lines& l) { l.insert(l.begin() + 1, chained({}, {entry(9)})[0]); }),
       Break::Inserted, 2},
      {"an old record without checksums, then chained lines", chained(old, {entry(3), entry(4)}),
       Break::None, 0},
      {"an old record without checksums alone", old, Break::None, 0},
      {"a wider line", wider, Break::None, 0},
  };
  for (const Case& c : cases) {
    const RecordChainState state = CheckRecordChain(c.lines);
    EXPECT_EQ(state.kind, c.kind) << c.what;
    EXPECT_EQ(state.line, c.line) << c.what;
    if (c.line > 0) {
      EXPECT_EQ(state.columns, c.lines[static_cast<std::size_t>(c.line - 1)]) << c.what;
    }
  }
  EXPECT_EQ(CheckRecordChain(record).checkedLines, 5);
  const RecordChainState afterOld = CheckRecordChain(chained(old, {entry(3), entry(4)}));
  EXPECT_EQ(afterOld.linesBeforeChain, 2);
  EXPECT_EQ(afterOld.checkedLines, 2);
}

class RecordChainFileTest : public ::testing::Test {
 protected:
  QTemporaryDir root;
  QString data = root.path() + u'/';
  QString path = data + RecordFileName;

  RecordChainState readChain(qint64 from, qint64 part) {
    RecordChainReader reader;
    EXPECT_TRUE(reader.Open(path, from));
    while (!reader.Done()) reader.CheckFurther(part);
    return reader.State();
  }
};

TEST_F(RecordChainFileTest, TheProgramsAppendsChainAfterAnOldRecordAndTheFileReadsBackAsWritten) {
  QByteArray old = "\xEF\xBB\xBF" + FormatRecordLine(RecordColumnHeads().mid(0, 8)) + "\r\n";
  for (int number = 1; number <= 2; ++number)
    old += FormatRecordLine(entry(number).mid(0, 8)) + "\r\n";
  writeBytes(path, old);
  RecordEntry appended = RecordEntryOfLine(entry(3));
  appended.message = "zwei\nZeilen";
  appended.assignment = QString(5000, u'x');  // longer than the reader takes of a line
  for (int number = 0; number < 3; ++number) ASSERT_TRUE(AppendRecordEntry(path, appended));
  const QByteArray bytes = readBytes(path);
  EXPECT_TRUE(bytes.startsWith(old));
  EXPECT_EQ(bytes.count('\n'), 6);
  for (qint64 part : {qint64{1}, qint64{100}, qint64{1} << 20}) {
    const RecordChainState state = readChain(0, part);
    EXPECT_EQ(state.kind, Break::None) << part;
    EXPECT_EQ(state.checkedLines, 3) << part;
    EXPECT_EQ(state.linesBeforeChain, 2) << part;
  }
  const auto entries = ReadRecordFile(path).value();
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[2].message, "zwei Zeilen");
  EXPECT_EQ(entries[2].codeAfter, appended.codeAfter);
  EXPECT_TRUE(entries[2].assignment.endsWith(u'\u2026'));

  // Read from the middle: the first line is cut, the next taken as it is, the rest checked.
  const qint64 middle = bytes.indexOf("\n", bytes.indexOf(";OK;", old.size())) - 10;
  const RecordChainState fromMiddle = readChain(middle, 1);
  EXPECT_EQ(fromMiddle.kind, Break::None);
  EXPECT_EQ(fromMiddle.checkedLines, 1);

  // A line edited in the file is named by its number, counted from the head line.
  QByteArray edited = bytes;
  edited.replace(edited.lastIndexOf(";OK;"), 4, ";10801;");
  writeBytes(path, edited);
  EXPECT_EQ(readChain(0, 7).kind, Break::Edited);
  EXPECT_EQ(readChain(0, 7).line, 6);
}

}  // namespace
