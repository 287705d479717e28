#include "image/SeriesPlan.h"

#include "support/QtPrinters.h"
#include "support/SampleImage.h"

#include <QLocale>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

TEST(SeriesPlan, CodesPendantsMayCarry) {
  const struct {
    QString text;
    QString code;
  } cases[] = {{"7a0f", "7A0F"}, {" 0001 ", "0001"}, {"0000", ""}, {"ffff", ""},
               {"12G4", ""},     {"123", ""},        {"12345", ""}};
  for (const auto& c : cases) EXPECT_EQ(RadioCodeOf(c.text), c.code) << c.text.toStdString();
}

TEST(SeriesPlan, SequencesSkipTheReservedCodesAndGoRound) {
  const struct {
    int code, step, next;
  } cases[] = {
      {0x7001, 1, 0x7002}, {0xFFFE, 1, 0x0001}, {0xFFFD, 2, 0x0001}, {0x00F0, 0x10, 0x0100}};
  for (const auto& c : cases) EXPECT_EQ(NextSequenceCode(c.code, c.step), c.next) << c.code;

  EXPECT_EQ(ParseCodeSequence("7001:1")->start, 0x7001);
  EXPECT_EQ(ParseCodeSequence("a000:10")->step, 0x10);
  for (const char* wrong : {"7001", "0000:1", "7001:0", "7001:x", "70011:1", ":1"})
    EXPECT_FALSE(ParseCodeSequence(wrong)) << wrong;
}

TEST(SeriesPlan, AssignmentListsReadAsTheyAreWritten) {
  const std::vector<Assignment> entries = {
      {"7001", "Haus Linde", "Zimmer 12; Frau A.", "Bett am \"Fenster\""},
      {"7002", "Haus Linde", "Zimmer 13", ""}};
  const QString text = FormatAssignmentList(entries);
  EXPECT_TRUE(text.startsWith("Code;Einrichtung;Raum/Bewohner;Notiz\r\n"));
  EXPECT_EQ(ParseAssignmentList(text), entries);
  // A list made by hand: no head line, LF line ends, short lines, a note holding separators, a
  // spreadsheet's empty row.
  EXPECT_THAT(ParseAssignmentList("7003;Haus Eiche\n\n7004;Haus Eiche;Zi 2;a;b\n; ;;\n"),
              ElementsAre(Assignment{"7003", "Haus Eiche", "", ""},
                          Assignment{"7004", "Haus Eiche", "Zi 2", "a;b"}));
}

TEST(SeriesPlan, TheListProposesTheNextCodeNoOtherPendantHas) {
  SeriesCodePlan plan = SeriesCodePlan::List({{"7001", "A", "1", ""},
                                              {"70G1", "A", "2", ""},
                                              {"7003", "A", "3", ""},
                                              {"7004", "A", "4", ""},
                                              {"7003", "A", "5", ""},
                                              {"7006", "A", "6", ""},
                                              {"7007", "A", "7", ""}});
  plan.SetRecordCodes({"7004"});
  std::vector<RefusedCode> refused;
  ASSERT_EQ(plan.Propose(&refused)->code, "7001");
  EXPECT_TRUE(refused.empty());
  plan.NotePassed(*plan.Propose());
  EXPECT_TRUE(plan.Done(0));
  const std::optional<PlannedCode> next = plan.Propose(&refused);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->code, "7006");
  EXPECT_EQ(next->listIndex, 5);
  EXPECT_EQ(next->assignment->room, "6");
  EXPECT_THAT(refused, ElementsAre(RefusedCode{"70G1", CodeRefusal::NotACode},
                                   RefusedCode{"7003", CodeRefusal::TwiceOnList},
                                   RefusedCode{"7004", CodeRefusal::InRecord},
                                   RefusedCode{"7003", CodeRefusal::TwiceOnList}));
  // A pendant whose check failed still carries its code: no second pendant gets it.
  plan.NoteCarried("7006");
  EXPECT_EQ(plan.Propose()->code, "7007");
  EXPECT_EQ(plan.RefusalOf("7006", 5), CodeRefusal::UsedInSeries);
  plan.NotePassed(*plan.Propose());
  EXPECT_FALSE(plan.Propose());
}

TEST(SeriesPlan, TheSequenceGoesOnFromTheLastCodeGiven) {
  SeriesCodePlan plan = SeriesCodePlan::Sequence({0xFFFE, 1});
  plan.SetRecordCodes({"0001"});
  std::vector<RefusedCode> refused;
  EXPECT_EQ(plan.Propose()->code, "FFFE");
  plan.NotePassed(*plan.Propose());
  EXPECT_EQ(plan.Propose(&refused)->code, "0002");
  EXPECT_THAT(refused, ElementsAre(RefusedCode{"0001", CodeRefusal::InRecord}));
  // Keeping each pendant's code proposes no code at all.
  EXPECT_EQ(SeriesCodePlan::Keep().Propose()->code, "");
}

TEST(SeriesPlan, TheConfigurationIsCheckedBeforeTheFirstPendant) {
  const CodecContext context{LimitAsTime, QLocale(QLocale::German, QLocale::Germany)};
  const struct {
    ImageChanges changes;
    std::optional<Msg::Id> ruleBreak;
    bool fewMeasurements;
  } cases[] = {
      {{{0x34, 0}, {0x35, 144}}, std::nullopt, false},
      {{{0x34, 0}, {0x35, 11}}, std::nullopt, true},
      {{{0x2E, 6}, {0x34, 0}, {0x35, 144}}, Msg::InvalidProductType, false},
  };
  for (const auto& c : cases) {
    const SeriesConfigurationCheck check =
        CheckSeriesConfiguration(SampleImageBytes(c.changes), context);
    EXPECT_EQ(check.ruleBreak, c.ruleBreak);
    EXPECT_EQ(check.fewMeasurements, c.fewMeasurements);
  }
}

}  // namespace
