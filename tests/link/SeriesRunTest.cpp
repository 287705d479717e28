// Series programming end to end: the loop drives the same write and check after writing as a
// single write against a simulated OPU that presents the next pendant after each completed write.

#include "link/SeriesRun.h"

#include "image/Texts.h"
#include "support/FakeFrontEnd.h"
#include "support/OperationSamples.h"
#include "support/QtPrinters.h"
#include "support/SimulatedOpu.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

ImageBytes pendant(int code) {
  ImageBytes memory = transmitterMemory();
  memory[RadioCodeAddress] = static_cast<std::uint8_t>(code >> 8);
  memory[RadioCodeAddress + 1] = static_cast<std::uint8_t>(code & 0xFF);
  return memory;
}

// The window's part, scripted: the choices after a failed pendant, and every line shown.
class ScriptedSeries final : public SeriesFrontEnd {
 public:
  std::deque<FailedUnitChoice> choices;
  QStringList lines;
  QStringList identified;
  std::vector<RefusedCode> passedOver;
  std::function<void(const SeriesUnit&)> onFinished;
  QStringList told;  // what a window would show in boxes

  void UnitStarting(int, int, const PlannedCode&) override {}
  void PendantIdentified(const QString& code, const QString& type) override {
    identified << code + "/" + type;
  }
  void UnitFinished(const SeriesUnit& unit, int expected) override {
    lines << SeriesUnitLine(unit, expected);
    if (onFinished) onFinished(unit);
  }
  void CodesPassedOver(const std::vector<RefusedCode>& refused) override {
    passedOver.insert(passedOver.end(), refused.begin(), refused.end());
  }
  void SetStatusText(const QString&) override {}
  void PendantCodeKnown(const QString&) override {}
  void Tell(const OperationMessage& message) override { told << message.Text(); }
  Answer Ask(const OperationQuestion&) override { return Answer::Yes; }
  FailedUnitChoice AfterFailure(const SeriesUnit&) override {
    const FailedUnitChoice choice =
        choices.empty() ? FailedUnitChoice::StopSeries : choices.front();
    if (!choices.empty()) choices.pop_front();
    return choice;
  }
  bool StopRequested() override { return false; }
};

class SeriesRunTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(opu.IsServing()); }

  SeriesCounts run(SeriesCodePlan& plan, int expected) {
    OpuLink link(opu.LinkOptions());
    const SeriesSetup setup{shownConfiguration(), expected, "S-test",
                            CodecContext{LimitAsTime, QLocale(QLocale::German, QLocale::Germany)}};
    SeriesRun series(setup, plan, frontEnd, link, pollTimer);
    series.Operations().AttachWaitingPrompt(&prompt);
    series.Operations().SetPollIntervalMs(TestPollIntervalMs);
    pollTimer.tick = [&series] { series.Operations().PollOpuInfo(); };
    series.SetRecordObserver(&record);
    series.Run();
    units = series.Units();
    return series.Counts();
  }

  // The bytes a write sends, and the code, as the series' configuration and plan have them.
  void expectProgrammed(const ImageBytes& memory, const QString& code) {
    EXPECT_EQ(VembaData::BytesToHexText(memory[RadioCodeAddress], memory[RadioCodeAddress + 1]),
              code);
    const ImageBytes configuration = shownConfiguration();
    for (const int address :
         {0x27, 0x28, 0x29, 0x2C, 0x2D, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x3A})
      EXPECT_EQ(memory[address], configuration[address]) << code.toStdString() << " " << address;
  }

  QStringList recordLines() const {
    QStringList lines;
    for (const OperationOutcome& o : record.outcomes)
      lines << QStringLiteral("%1 %2 %3 %4 %5")
                   .arg(static_cast<int>(o.kind))
                   .arg(o.codeAfter, QString::number(o.resultNumber), o.series, o.assignment);
    return lines;
  }

  SimulatedOpu opu;
  FakePollTimer pollTimer;
  FakeWaitingPrompt prompt;
  ScriptedSeries frontEnd;
  RecordingObserver record;
  std::vector<SeriesUnit> units;
};

TEST_F(SeriesRunTest, ASequenceGivesFivePendantsTheirCodesAndTheConfiguration) {
  opu.SetMemory(pendant(0x5000));
  opu.QueuePendants({pendant(0x5001), pendant(0x5002), pendant(0x5003), pendant(0x5004)});
  SeriesCodePlan plan = SeriesCodePlan::Sequence({0xA001, 1});
  const SeriesCounts counts = run(plan, 5);

  EXPECT_EQ(counts.passed, 5);
  const std::vector<ImageBytes> memories = opu.Pendants();
  ASSERT_EQ(memories.size(), 5U);
  const QStringList codes = {"A001", "A002", "A003", "A004", "A005"};
  for (int i = 0; i < 5; ++i) expectProgrammed(memories[i], codes[i]);
  EXPECT_EQ(frontEnd.identified,
            QStringList({"5000/07", "5001/07", "5002/07", "5003/07", "5004/07"}));
  EXPECT_EQ(frontEnd.lines.last(), FormatText(Msg::SeriesUnitPassed, {"A005", "5 von 5"}));
  // A write and its check per pendant, each named with the series.
  ASSERT_EQ(record.outcomes.size(), 10U);
  for (const OperationOutcome& outcome : record.outcomes) {
    EXPECT_EQ(outcome.series, "S-test");
    EXPECT_EQ(outcome.resultNumber, 0);
  }
  EXPECT_THAT(frontEnd.told, ::testing::IsEmpty());
}

TEST_F(SeriesRunTest, AnAssignmentListRefusesDuplicatesAndCountsAFailedCheck) {
  opu.SetMemory(pendant(0x5000));
  // The second pendant keeps its battery-test interval (0x2C) whatever it is sent; the third is
  // the first one picked up again.
  opu.QueuePendants({pendant(0x5001), pendant(0x7101), pendant(0x5003), pendant(0x5004)});
  ChangeFaults(opu, [](OpuSimFaults& faults) {
    faults.unkeptAddress = 0x2C;
    faults.unkeptPendant = 1;
  });
  frontEnd.choices = {FailedUnitChoice::Skip};
  frontEnd.onFinished = [this](const SeriesUnit& unit) {
    // Nothing was written to the refused pendant: the technician puts it aside.
    if (unit.result == SeriesUnit::Result::Refused) opu.SetMemory(pendant(0x5003));
  };
  SeriesCodePlan plan = SeriesCodePlan::List({{"7101", "Haus Linde", "Zi 1", ""},
                                              {"7102", "Haus Linde", "Zi 2", ""},
                                              {"7102", "Haus Linde", "Zi 3", "doppelt"},
                                              {"7104", "Haus Linde", "Zi 4", ""},
                                              {"7105", "Haus Linde", "Zi 5", ""}});
  const SeriesCounts counts = run(plan, 3);

  EXPECT_EQ(counts.passed, 2);
  EXPECT_EQ(counts.skipped, 1);
  EXPECT_EQ(counts.refused, 1);
  ASSERT_GE(frontEnd.passedOver.size(), 2U);
  EXPECT_EQ(frontEnd.passedOver[0], (RefusedCode{"7102", CodeRefusal::TwiceOnList}));
  EXPECT_EQ(frontEnd.passedOver[1], (RefusedCode{"7102", CodeRefusal::TwiceOnList}));
  EXPECT_THAT(frontEnd.passedOver,
              ::testing::Contains(RefusedCode{"7104", CodeRefusal::UsedInSeries}));
  const std::vector<ImageBytes> memories = opu.Pendants();
  ASSERT_EQ(memories.size(), 3U);
  expectProgrammed(memories[0], "7101");
  EXPECT_EQ(memories[1][0x2C], transmitterMemory()[0x2C]);  // the unkept byte
  expectProgrammed(memories[2], "7105");
  ASSERT_EQ(frontEnd.lines.size(), 4);
  EXPECT_EQ(frontEnd.lines[0], FormatText(Msg::SeriesUnitPassed, {"7101", "1 von 3"}));
  EXPECT_TRUE(frontEnd.lines[1].contains("7104")) << frontEnd.lines[1].toStdString();
  EXPECT_TRUE(frontEnd.lines[1].contains("2 von 3"));
  EXPECT_TRUE(frontEnd.lines[1].startsWith("FEHLER"));
  EXPECT_TRUE(frontEnd.lines[1].contains(Text(Msg::CaptionBatteryTestInterval)));
  // Refused before anything was written, while the third place was being worked on.
  EXPECT_EQ(
      frontEnd.lines[2],
      FormatText(Msg::SeriesUnitRefused,
                 {"7101", FormatText(Msg::SeriesPendantAlreadyInSeries, {"7101"}), "3 von 3"}));
  EXPECT_EQ(frontEnd.lines[3], FormatText(Msg::SeriesUnitPassed, {"7105", "3 von 3"}));
  EXPECT_EQ(units[1].result, SeriesUnit::Result::Skipped);
  EXPECT_EQ(units[2].result, SeriesUnit::Result::Refused);
  EXPECT_EQ(AssignmentText(units[3].assignment), "Haus Linde / Zi 5");
  EXPECT_EQ(record.outcomes.front().site, "Haus Linde");
  EXPECT_EQ(record.outcomes.front().resident, "Zi 1");
  EXPECT_THAT(
      recordLines(),
      ElementsAre(
          "1 7101 0 S-test Haus Linde / Zi 1", "3 7101 0 S-test Haus Linde / Zi 1",
          // The write's line follows what the check after it found.
          QString("1 7104 %1 S-test Haus Linde / Zi 4").arg(Msg::VerifyFoundDifferences),
          QString("3 7104 %1 S-test Haus Linde / Zi 4").arg(Msg::VerifyFoundDifferences),
          QString("1 7101 %1 S-test Haus Linde / Zi 5").arg(Msg::SeriesPendantAlreadyInSeries),
          "1 7105 0 S-test Haus Linde / Zi 5", "3 7105 0 S-test Haus Linde / Zi 5"));
}

TEST_F(SeriesRunTest, APendantOfAnotherProductStopsItsUnit) {
  ChangeFaults(opu, [](OpuSimFaults& faults) { faults.productType = "08"; });
  const ImageBytes before = opu.Memory();
  SeriesCodePlan plan = SeriesCodePlan::Keep();
  const SeriesCounts counts = run(plan, 2);
  EXPECT_EQ(counts.failed, 1);
  EXPECT_EQ(units[0].finding, Text(Msg::InvalidProductType));
  EXPECT_FALSE(opu.Commands().contains("n"));
  EXPECT_EQ(opu.Memory(), before);
}

}  // namespace
