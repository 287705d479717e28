#include "cli/CliCheck.h"

#include "cli/CancelSignal.h"
#include "link/ConnectionVerdicts.h"
#include "image/Texts.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QTimer>

#include <array>
#include <chrono>

namespace {

constexpr int ButtonWaitSeconds = 30;
constexpr int PollIntervalMs = 500;

using Verdicts = std::array<CheckVerdict, StepCount>;

// Steps 1 to 3; a step after a failed one is not run.
void RunLinkSteps(ConnectionProbes& probes, Verdicts& verdicts) {
  verdicts[StepUnit] = PortSearchVerdict(probes.FindPorts());
  if (verdicts[StepUnit].mark == CheckMark::Passed) {
    const PortOpening opening = probes.Open();
    verdicts[StepPort] = PortOpeningVerdict(opening);
    if (opening.Opened()) verdicts[StepOpu] = VersionVerdict(probes.AskVersion());
  }
  probes.Finish();
  for (int step = StepPort; step < StepTransmitter; ++step) {
    if (verdicts[step - 1].mark == CheckMark::Passed) continue;
    for (int later = step; later < StepTransmitter; ++later)
      verdicts[later] = {CheckMark::NotRun, Text(Msg::CheckSkippedAfterFailure)};
    break;
  }
}

// Step 4: listens for the pendant's button for 30 s, saying each second how long is left.
CheckVerdict RunPendantStep(ConnectionProbes& probes, CancelSignal& cancel) {
  const PortOpening opening = probes.Open();
  if (!opening.Opened()) return PortOpeningVerdict(opening);
  if (!probes.StartListening()) {
    probes.Finish();
    return {CheckMark::Failed, Text(Msg::CheckOpuStoppedWaiting)};
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(ButtonWaitSeconds);
  ButtonAnswer answer;
  qint64 told = ButtonWaitSeconds;
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(PollIntervalMs);
  QObject::connect(&cancel, &CancelSignal::Cancelled, &loop, &QEventLoop::quit);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    answer = probes.PollButton();
    const auto left =
        std::chrono::ceil<std::chrono::seconds>(deadline - std::chrono::steady_clock::now());
    if (answer.state != ButtonAnswer::Waiting || left.count() <= 0) {
      loop.quit();
    } else if (left.count() != told) {
      told = left.count();
      PrintNotice(FormatText(Msg::CheckPressButtonNow, {QString::number(told)}));
    }
  });
  PrintNotice(FormatText(Msg::CheckPressButtonNow, {QString::number(ButtonWaitSeconds)}));
  poll.start();
  if (!cancel.Requested()) loop.exec();
  poll.stop();
  probes.Finish();
  if (cancel.Requested()) return {CheckMark::NotRun, Text(Msg::CliCancelled)};
  return ButtonVerdict(answer, ButtonWaitSeconds);
}

int ExitCodeOf(const Verdicts& verdicts, bool pendant, bool cancelled) {
  if (cancelled) return ExitCancelled;
  for (int step = StepUnit; step < StepTransmitter; ++step)
    if (verdicts[step].mark != CheckMark::Passed) return ExitNoOpu;
  if (pendant && verdicts[StepTransmitter].mark != CheckMark::Passed) return ExitFailed;
  return ExitSuccess;
}

}  // namespace

CliReport RunCheck(const CliCommand& command, CancelSignal& cancel) {
  ConnectionProbes probes(command.link);
  Verdicts verdicts{};
  RunLinkSteps(probes, verdicts);
  const int lastStep = command.pendant ? StepCount : StepTransmitter;
  if (command.pendant) {
    verdicts[StepTransmitter] =
        verdicts[StepOpu].mark == CheckMark::Passed
            ? RunPendantStep(probes, cancel)
            : CheckVerdict{CheckMark::NotRun, Text(Msg::CheckNeedsEarlierSteps)};
  }
  CliReport report{QStringLiteral("check"), {}, {}, {}, 0};
  report.exitCode = ExitCodeOf(verdicts, command.pendant, cancel.Requested());
  QJsonArray steps;
  for (int step = StepUnit; step < lastStep; ++step) {
    const CheckVerdict& verdict = verdicts[step];
    const QString title = Text(CheckStepTitles[step]);
    const QString mark = Text(CheckMarkText(verdict.mark));
    report.lines << FormatText(Msg::CliCheckStepLine, {title, mark, verdict.text});
    steps.append(QJsonObject{{QStringLiteral("step"), title},
                             {QStringLiteral("passed"), verdict.mark == CheckMark::Passed},
                             {QStringLiteral("mark"), mark},
                             {QStringLiteral("text"), verdict.text}});
  }
  report.json = {{QStringLiteral("steps"), steps}};
  return report;
}
