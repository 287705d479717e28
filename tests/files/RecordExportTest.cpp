#include "files/RecordExport.h"

#include "image/Texts.h"
#include "support/FileBytes.h"
#include "support/RecordSamples.h"

#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

TEST(RecordFilterTest, AnEntryPassesWhenItMatchesEveryPartThatIsSet) {
  const RecordEntry entry = sampleWrite(
      RecordTime(QDateTime(QDate(2026, 12, 7), QTime(23, 30), QTimeZone::systemTimeZone())), "1A2B",
      "S1", "Haus Linde");
  RecordEntry recoded = entry;
  recoded.codeAfter = "2000";
  const QDate day(2026, 12, 7);
  struct Case {
    const char* what;
    RecordFilter filter;
    RecordEntry entry;
    bool passes;
  };
  const Case cases[] = {
      {"no filter", {}, entry, true},
      {"its code", {"1A2B"}, entry, true},
      {"another code", {"1A2C"}, entry, false},
      {"its new code after a code change", {"2000"}, recoded, true},
      {"its old code after a code change", {"1A2B"}, recoded, true},
      {"its series", {"", "S1"}, entry, true},
      {"another series", {"", "S2"}, entry, false},
      {"its site", {"", "", "Haus Linde"}, entry, true},
      {"another site", {"", "", "Haus Eiche"}, entry, false},
      {"from its day", {"", "", "", day}, entry, true},
      {"to its day (the whole day)", {"", "", "", {}, day}, entry, true},
      {"from the next day", {"", "", "", day.addDays(1)}, entry, false},
      {"to the day before", {"", "", "", {}, day.addDays(-1)}, entry, false},
      {"a time that is no time, with days",
       {"", "", "", day},
       sampleWrite("gestern", "1A2B"),
       false},
      {"a time that is no time, without days", {"1A2B"}, sampleWrite("gestern", "1A2B"), true},
      {"code and series, one wrong", {"1A2B", "S2"}, entry, false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.filter.Passes(c.entry), c.passes) << c.what;
}

class RecordExportTest : public ::testing::Test {
 protected:
  QTemporaryDir root;
  QString data = root.path() + u'/';
  std::vector<RecordEntry> entries = sampleWrites();

  void SetUp() override {
    for (const RecordEntry& entry : entries)
      ASSERT_TRUE(AppendRecordEntry(data + RecordFileName, entry));
  }
};

TEST_F(RecordExportTest, TheReportNamesTheSelectionTheChainAndEachOperation) {
  const RecordFilter filter{"1A2B", "", "Haus Linde", QDate(2026, 12, 1)};
  const SeriesSummaryContent report =
      RecordReportContent({entries[0], entries[2]}, filter, "Prüfkette unversehrt");
  EXPECT_EQ(report.lines[0],
            FormatText(Msg::RecordReportSelection,
                       {"Funkkennung 1A2B, Einrichtung Haus Linde, vom 01.12.2026"}));
  EXPECT_TRUE(report.lines.contains(FormatText(Msg::RecordReportTechnicians, {"Eva"})));
  EXPECT_TRUE(report.lines.contains("Prüfkette unversehrt"));
  ASSERT_EQ(report.rows.size(), 2u);
  EXPECT_EQ(report.rows[0][4], QStringList(8, QString(8, u'a')).join(u' '));
  EXPECT_EQ(report.rows[0][6], "Haus Linde / Zi 1");
  QString error;
  EXPECT_TRUE(WriteRecordReportPdf(data + "auszug.pdf", report, error)) << error.toStdString();
  EXPECT_TRUE(readBytes(data + "auszug.pdf").startsWith("%PDF"));
  EXPECT_FALSE(WriteRecordReportPdf(data + "fehlt/auszug.pdf", report, error));
  EXPECT_EQ(error, Text(Msg::FileNotWritten));
}

}  // namespace
