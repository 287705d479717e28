#include "files/RecordExport.h"

#include "files/RecordWindow.h"
#include "support/FileBytes.h"
#include "support/ScriptedDialogs.h"
#include "image/Texts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

RecordEntry operation(const QString& time, const QString& code, const QString& series = {},
                      const QString& site = {}) {
  return RecordEntry{time,   "Schreiben", code,  code, "OK",  "", "", QString(64, u'a'),
                     series, "",          "Eva", site, "Zi 1"};
}

TEST(RecordFilterTest, AnEntryPassesWhenItMatchesEveryPartThatIsSet) {
  const RecordEntry entry = operation(
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
      {"a time that is no time, with days", {"", "", "", day}, operation("gestern", "1A2B"), false},
      {"a time that is no time, without days", {"1A2B"}, operation("gestern", "1A2B"), true},
      {"code and series, one wrong", {"1A2B", "S2"}, entry, false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.filter.Passes(c.entry), c.passes) << c.what;
}

class RecordExportTest : public ::testing::Test {
 protected:
  QTemporaryDir root;
  QString data = root.path() + u'/';
  std::vector<RecordEntry> entries = {
      operation("2026-12-01T09:00:00+01:00", "1A2B", "S1", "Haus Linde"),
      operation("2026-12-02T09:00:00+01:00", "3C4D", "S1", "Haus Eiche"),
      operation("2026-12-03T09:00:00+01:00", "1A2B", "", "Haus Eiche"),
      operation("2026-12-04T09:00:00+01:00", "5E6F", "", "Haus Linde; Nord"),
  };

  void SetUp() override {
    for (const RecordEntry& entry : entries)
      ASSERT_TRUE(AppendRecordEntry(data + RecordFileName, entry));
  }
};

TEST_F(RecordExportTest, AnExportHoldsExactlyTheEntriesTheWindowsFiltersPass) {
  ScriptedDialogs dialogs;
  TfrmRecord window(dialogs);
  ASSERT_TRUE(window.LoadRecord(data));
  while (window.IsLoading()) QCoreApplication::processEvents();
  struct Case {
    const char* what;
    std::function<void()> choose;
    std::vector<RecordEntry> exported;
  };
  const Case cases[] = {
      {"one radio code",
       [&] { window.cbbxRadioCode->setCurrentIndex(window.cbbxRadioCode->findData("1A2B")); },
       {entries[0], entries[2]}},
      {"one site",
       [&] { window.cbbxSite->setCurrentIndex(window.cbbxSite->findData("Haus Eiche")); },
       {entries[1], entries[2]}},
      {"one series",
       [&] { window.cbbxSeries->setCurrentIndex(window.cbbxSeries->findData("S1")); },
       {entries[0], entries[1]}},
      {"a range of days",
       [&] {
         window.dteFrom->setDate(QDate(2026, 12, 2));
         window.dteTo->setDate(QDate(2026, 12, 3));
       },
       {entries[1], entries[2]}},
      {"everything", [] {}, entries},
  };
  for (const Case& c : cases) {
    window.cbbxRadioCode->setCurrentIndex(0);
    window.cbbxSeries->setCurrentIndex(0);
    window.cbbxSite->setCurrentIndex(0);
    window.dteFrom->setDate(window.dteFrom->minimumDate());
    window.dteTo->setDate(window.dteTo->minimumDate());
    c.choose();
    const QString path = data + "auszug.csv";
    dialogs.saveAnswers = {data + "auszug"};
    dialogs.clear();
    window.btnExportCsv->click();
    EXPECT_EQ(ReadRecordFile(path), c.exported) << c.what;
    EXPECT_TRUE(readBytes(path).startsWith("\xEF\xBB\xBF" + FormatRecordLine(RecordColumnHeads()) +
                                           "\r\n"));
    // Replacing the earlier export was asked first.
    EXPECT_EQ(dialogs.texts().size(), &c == cases ? 1u : 2u) << c.what;
  }
}

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
