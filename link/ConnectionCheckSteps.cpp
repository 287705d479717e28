#include "link/ConnectionCheckSteps.h"

#include "image/Texts.h"

#include <utility>

namespace {

// The steps from `from` to the pendant's are not reached after a failure before them.
void notReached(CheckVerdicts& verdicts, int from) {
  for (int step = from; step < StepTransmitter; ++step)
    verdicts[step] = {CheckMark::NotRun, Text(Msg::CheckSkippedAfterFailure)};
}

}  // namespace

ConnectionCheckSteps::ConnectionCheckSteps(const OpuLinkOptions& options, SerialPortPlaces places)
    : probes_(options, std::move(places)) {}

CheckVerdicts ConnectionCheckSteps::RunLinkSteps(
    const std::function<void(CheckStep, const CheckVerdict&)>& shown) {
  CheckVerdicts verdicts{};
  const auto run = [&](CheckStep step, const auto& probe) {
    if (shown) shown(step, CheckVerdict{CheckMark::Running, {}});
    verdicts[step] = probe();
    if (shown) shown(step, verdicts[step]);
    return verdicts[step].mark == CheckMark::Passed;
  };
  bool opened = false;
  if (run(StepUnit, [this] { return PortSearchVerdict(probes_.FindPorts()); })) {
    opened = run(StepPort, [this] { return PortOpeningVerdict(probes_.Open()); });
    if (opened) (void)run(StepOpu, [this] { return VersionVerdict(probes_.AskVersion()); });
  }
  probes_.Finish();
  for (int step = StepPort; step < StepTransmitter; ++step) {
    if (verdicts[step - 1].mark == CheckMark::Passed) continue;
    notReached(verdicts, step);
    break;
  }
  verdicts[StepTransmitter] = {CheckMark::NotRun, Text(verdicts[StepOpu].mark == CheckMark::Passed
                                                           ? Msg::CheckClickTestPendant
                                                           : Msg::CheckNeedsEarlierSteps)};
  return verdicts;
}

bool ConnectionCheckSteps::StartPendantStep(CheckVerdicts& verdicts) {
  const PortOpening opening = probes_.Open();
  if (!opening.Opened()) {
    verdicts[StepPort] = PortOpeningVerdict(opening);
    notReached(verdicts, StepOpu);
    verdicts[StepTransmitter] = {CheckMark::NotRun, Text(Msg::CheckNeedsEarlierSteps)};
    return false;
  }
  if (!probes_.StartListening()) {
    probes_.Finish();
    verdicts[StepTransmitter] = {CheckMark::Failed, Text(Msg::CheckOpuStoppedWaiting)};
    return false;
  }
  buttonDeadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(ButtonWaitSeconds);
  verdicts[StepTransmitter] = {
      CheckMark::Running,
      FormatText(Msg::CheckPressButtonNow, {QString::number(ButtonWaitSeconds)})};
  return true;
}

bool ConnectionCheckSteps::PollPendantStep(CheckVerdicts& verdicts) {
  const ButtonAnswer answer = probes_.PollButton();
  const auto left =
      std::chrono::ceil<std::chrono::seconds>(buttonDeadline_ - std::chrono::steady_clock::now());
  if (answer.state == ButtonAnswer::Waiting && left.count() > 0) {
    verdicts[StepTransmitter] = {
        CheckMark::Running, FormatText(Msg::CheckPressButtonNow, {QString::number(left.count())})};
    return false;
  }
  probes_.Finish();
  verdicts[StepTransmitter] = ButtonVerdict(answer, ButtonWaitSeconds);
  return true;
}

void ConnectionCheckSteps::EndPendantStep() {
  probes_.Finish();
}
