#include "cli/CliCheck.h"

#include "cli/CancelSignal.h"
#include "image/Texts.h"
#include "link/ConnectionCheckSteps.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QTimer>

namespace {

constexpr int PollIntervalMs = 500;

// Step 4: listens for the pendant's button, saying each second how long is left.
void RunPendantStep(ConnectionCheckSteps& steps, CheckVerdicts& verdicts, CancelSignal& cancel) {
  if (!steps.StartPendantStep(verdicts)) return;
  QString told = verdicts[StepTransmitter].text;
  PrintNotice(told);
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(PollIntervalMs);
  QObject::connect(&cancel, &CancelSignal::Cancelled, &loop, &QEventLoop::quit);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (steps.PollPendantStep(verdicts)) {
      loop.quit();
    } else if (verdicts[StepTransmitter].text != told) {
      told = verdicts[StepTransmitter].text;
      PrintNotice(told);
    }
  });
  poll.start();
  if (!cancel.Requested()) loop.exec();
  poll.stop();
  if (verdicts[StepTransmitter].mark != CheckMark::Running) return;
  steps.EndPendantStep();
  verdicts[StepTransmitter] = {CheckMark::NotRun, Text(Msg::CliCancelled)};
}

int ExitCodeOf(const CheckVerdicts& verdicts, bool pendant, bool cancelled) {
  if (cancelled) return ExitCancelled;
  for (int step = StepUnit; step < StepTransmitter; ++step)
    if (verdicts[step].mark != CheckMark::Passed) return ExitNoOpu;
  if (pendant && verdicts[StepTransmitter].mark != CheckMark::Passed) return ExitFailed;
  return ExitSuccess;
}

}  // namespace

CliReport RunCheck(const CliCommand& command, CancelSignal& cancel) {
  ConnectionCheckSteps check(command.link);
  CheckVerdicts verdicts = check.RunLinkSteps();
  const int lastStep = command.pendant ? StepCount : StepTransmitter;
  if (command.pendant && verdicts[StepOpu].mark == CheckMark::Passed)
    RunPendantStep(check, verdicts, cancel);
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
