// The connection check's steps as values: what a front end is told as they run, and the
// pendant's step from its start to its end, with the link closed whichever way it ends.

#include "link/ConnectionCheckSteps.h"

#include "image/Texts.h"
#include "support/SimulatedOpu.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

using Shown = std::vector<std::pair<CheckStep, CheckMark>>;

OpuSimFaults answering(const QString& version) {
  OpuSimFaults faults;
  faults.version = version;
  return faults;
}

Shown runShowing(ConnectionCheckSteps& steps, CheckVerdicts& verdicts) {
  Shown shown;
  verdicts = steps.RunLinkSteps([&shown](CheckStep step, const CheckVerdict& verdict) {
    shown.emplace_back(step, verdict.mark);
  });
  return shown;
}

TEST(ConnectionCheckStepsTest, EachStepIsToldAsItStartsAndAsItEndsAndNoneAfterAFailure) {
  using enum CheckMark;
  struct Case {
    const char* what;
    QString version;  // the OPU's; empty: no unit at the port
    Shown shown;
    Msg::Id pendant;  // what the pendant's step says afterwards
  };
  const Case cases[] = {
      {"every step passes",
       "15-1 V1.0.0",
       {{StepUnit, Running},
        {StepUnit, Passed},
        {StepPort, Running},
        {StepPort, Passed},
        {StepOpu, Running},
        {StepOpu, Passed}},
       Msg::CheckClickTestPendant},
      {"an old OPU",
       "14-1 V1.0.0",
       {{StepUnit, Running},
        {StepUnit, Passed},
        {StepPort, Running},
        {StepPort, Passed},
        {StepOpu, Running},
        {StepOpu, Failed}},
       Msg::CheckNeedsEarlierSteps},
      {"no unit", "", {{StepUnit, Running}, {StepUnit, Failed}}, Msg::CheckNeedsEarlierSteps},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedOpu opu;
    opu.SetFaults(answering(c.version));
    ConnectionCheckSteps steps(c.version.isEmpty() ? OpuLinkOptions{"/nonexistent/ttyOPU", {}}
                                                   : opu.LinkOptions());
    CheckVerdicts verdicts{};
    EXPECT_EQ(runShowing(steps, verdicts), c.shown);
    for (const CheckVerdict& verdict : verdicts) EXPECT_NE(verdict.mark, Running);
    for (int step = static_cast<int>(c.shown.back().first) + 1; step < StepTransmitter; ++step) {
      EXPECT_EQ(verdicts[step].mark, NotRun);
      EXPECT_EQ(verdicts[step].text, Text(Msg::CheckSkippedAfterFailure));
    }
    EXPECT_EQ(verdicts[StepTransmitter].mark, NotRun);
    EXPECT_EQ(verdicts[StepTransmitter].text, Text(c.pendant));
    EXPECT_FALSE(steps.LinkOpen());
  }
}

TEST(ConnectionCheckStepsTest, ThePendantStepCountsDownHearsTheButtonAndClosesTheLink) {
  SimulatedOpu opu;
  opu.SetButtonDelay(OpuSimulator::ManualButton);
  ConnectionCheckSteps steps(opu.LinkOptions());
  CheckVerdicts verdicts = steps.RunLinkSteps();
  ASSERT_EQ(verdicts[StepOpu].mark, CheckMark::Passed);
  ASSERT_TRUE(steps.StartPendantStep(verdicts));
  EXPECT_EQ(verdicts[StepTransmitter].mark, CheckMark::Running);
  EXPECT_EQ(verdicts[StepTransmitter].text,
            FormatText(Msg::CheckPressButtonNow,
                       {QString::number(ConnectionCheckSteps::ButtonWaitSeconds)}));
  EXPECT_TRUE(steps.LinkOpen());
  EXPECT_FALSE(steps.PollPendantStep(verdicts));
  EXPECT_EQ(verdicts[StepTransmitter].mark, CheckMark::Running);
  opu.PressButton();
  bool done = false;
  for (int tick = 0; tick < 500 && !done; ++tick) {
    QTest::qWait(10);
    done = steps.PollPendantStep(verdicts);
  }
  ASSERT_TRUE(done);
  EXPECT_EQ(verdicts[StepTransmitter].mark, CheckMark::Passed);
  EXPECT_EQ(verdicts[StepTransmitter].text,
            FormatText(Msg::CheckPendantHeard, {opu.RadioCode(), "07"}));
  EXPECT_FALSE(steps.LinkOpen());
}

TEST(ConnectionCheckStepsTest,
     AUnitTakenSinceTheFirstStepsFailsThePortAgainAndEndingClosesTheLink) {
  SimulatedOpu opu;
  ConnectionCheckSteps steps(opu.LinkOptions());
  CheckVerdicts verdicts = steps.RunLinkSteps();
  ASSERT_EQ(verdicts[StepOpu].mark, CheckMark::Passed);
  // Another program holds the port by the time the pendant's button is to be awaited.
  const std::unique_ptr<OpuLink> otherProgram = opu.MakeLink();
  ASSERT_EQ(otherProgram->Open(), 0);
  EXPECT_FALSE(steps.StartPendantStep(verdicts));
  EXPECT_EQ(verdicts[StepPort].mark, CheckMark::Failed);
  EXPECT_TRUE(verdicts[StepPort].text.startsWith(FormatText(Msg::PortBusy, {opu.PortPath()})))
      << verdicts[StepPort].text.toStdString();
  EXPECT_EQ(verdicts[StepOpu].text, Text(Msg::CheckSkippedAfterFailure));
  EXPECT_EQ(verdicts[StepTransmitter].text, Text(Msg::CheckNeedsEarlierSteps));
  EXPECT_FALSE(steps.LinkOpen());

  // Given up while waiting: the link is closed at once.
  otherProgram->Close();
  opu.SetButtonDelay(OpuSimulator::ManualButton);
  verdicts = steps.RunLinkSteps();
  ASSERT_TRUE(steps.StartPendantStep(verdicts));
  EXPECT_TRUE(steps.LinkOpen());
  steps.EndPendantStep();
  EXPECT_FALSE(steps.LinkOpen());
}

}  // namespace
