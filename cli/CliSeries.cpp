#include "cli/CliSeries.h"

#include "cli/CancelSignal.h"
#include "cli/CliFrontEnd.h"
#include "cli/CliOperations.h"
#include "cli/CliShow.h"
#include "cli/ConsolePrompt.h"
#include "files/AssignmentListFile.h"
#include "image/Texts.h"
#include "link/SeriesRun.h"
#include "link/opu/OpuLink.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace {

QString OutcomeWord(SeriesUnit::Result result) {
  switch (result) {
    case SeriesUnit::Result::Passed:
      return QStringLiteral("passed");
    case SeriesUnit::Result::Failed:
      return QStringLiteral("failed");
    case SeriesUnit::Result::Skipped:
      return QStringLiteral("skipped");
    case SeriesUnit::Result::Refused:
      return QStringLiteral("refused");
  }
  return {};
}

QJsonValue AssignmentAsJson(const std::optional<Assignment>& assignment) {
  if (!assignment) return QJsonValue::Null;
  return QJsonObject{{QStringLiteral("code"), assignment->code},
                     {QStringLiteral("facility"), assignment->facility},
                     {QStringLiteral("room"), assignment->room},
                     {QStringLiteral("note"), assignment->note}};
}

QString RefusalText(const RefusedCode& refused) {
  return FormatText(CodeRefusalMessage(refused.reason), {refused.code});
}

QJsonArray PassedOverAsJson(const std::vector<RefusedCode>& refused) {
  QJsonArray array;
  for (const RefusedCode& code : refused)
    array.append(
        QJsonObject{{QStringLiteral("code"), code.code},
                    {QStringLiteral("reason"), static_cast<int>(CodeRefusalMessage(code.reason))},
                    {QStringLiteral("text"), RefusalText(code)}});
  return array;
}

// The series at the bench: what the window shows large goes to the standard error as it
// happens, each finished pendant to the standard output at once, so that a script follows the
// series pendant by pendant.
class BenchSeries final : public SeriesFrontEnd {
 public:
  BenchSeries(const CliCommand& command, CancelSignal& cancel, QString seriesId,
              CliFrontEnd& frontEnd)
      : command_(command), cancel_(cancel), seriesId_(std::move(seriesId)), frontEnd_(frontEnd) {}

  // Every code passed over in the whole series, with its reason.
  [[nodiscard]] const std::vector<RefusedCode>& PassedOver() const { return allPassedOver_; }

  void UnitStarting(int number, int expected, const PlannedCode& planned) override {
    PrintNotice(
        FormatText(Msg::SeriesCounter, {QString::number(number), QString::number(expected)}) +
        QStringLiteral(": ") + NextPendantText(planned));
  }

  void PendantIdentified(const QString& code, const QString& productType) override {
    PrintNotice(FormatText(Msg::SeriesPendantIdentified, {code, productType}));
  }

  void UnitFinished(const SeriesUnit& unit, int expected) override {
    if (command_.json) {
      const QJsonObject object{{QStringLiteral("operation"), QStringLiteral("series")},
                               {QStringLiteral("series"), seriesId_},
                               {QStringLiteral("unit"), unit.number},
                               {QStringLiteral("expected"), expected},
                               {QStringLiteral("codeBefore"), unit.identifiedCode},
                               {QStringLiteral("codeAfter"), unit.code},
                               {QStringLiteral("assignment"), AssignmentAsJson(unit.assignment)},
                               {QStringLiteral("outcome"), OutcomeWord(unit.result)},
                               {QStringLiteral("result"), unit.findingNumber},
                               {QStringLiteral("text"), unit.finding},
                               {QStringLiteral("attempts"), unit.attempts},
                               {QStringLiteral("passedOver"), PassedOverAsJson(passedOver_)}};
      PrintResult(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
    } else {
      const QString assignment = AssignmentText(unit.assignment);
      PrintResult(SeriesUnitLine(unit, expected) +
                  (assignment.isEmpty() ? QString() : QStringLiteral("  –  ") + assignment));
    }
    passedOver_.clear();
    NoteRefusal(unit);
  }

  // The plan passes over the same codes before every pendant; each is told once.
  void CodesPassedOver(const std::vector<RefusedCode>& refused) override {
    for (const RefusedCode& code : refused) {
      if (std::find(allPassedOver_.begin(), allPassedOver_.end(), code) != allPassedOver_.end())
        continue;
      PrintNotice(RefusalText(code));
      passedOver_.push_back(code);
      allPassedOver_.push_back(code);
    }
  }

  void SetStatusText(const QString& /*text*/) override {}
  void PendantCodeKnown(const QString& /*code*/) override {}
  // The operations' messages and questions as a single operation's.
  void Tell(const OperationMessage& message) override { frontEnd_.Tell(message); }
  Answer Ask(const OperationQuestion& question) override { return frontEnd_.Ask(question); }

  // Nobody answers at the bench: a failed pendant is put aside and the series goes on with the
  // next one, unless the run said to stop or there is no OPU to go on with.
  FailedUnitChoice AfterFailure(const SeriesUnit& unit) override {
    if (cancel_.Requested() || command_.stopOnFailure ||
        ExitCodeOfResult(unit.findingNumber) == ExitNoOpu)
      return FailedUnitChoice::StopSeries;
    PrintNotice(FormatText(Msg::CliSeriesPutAside,
                           {unit.code.isEmpty() ? unit.identifiedCode : unit.code}));
    return FailedUnitChoice::Skip;
  }

  bool StopRequested() override { return cancel_.Requested() || samePendantRefusedAgain_; }

  // The code of the pendant refused twice in a row, which ended the series; empty when none was.
  [[nodiscard]] QString PendantRefusedAgain() const {
    return samePendantRefusedAgain_ ? lastRefused_ : QString();
  }

 private:
  // A refused pendant that is not put aside is refused again and again (an OPU whose pendant
  // answers by itself, or a technician pressing the same button): the second refusal in a row
  // of the same pendant ends the series.
  void NoteRefusal(const SeriesUnit& unit) {
    const bool refused = unit.result == SeriesUnit::Result::Refused;
    samePendantRefusedAgain_ = refused && unit.identifiedCode == lastRefused_;
    lastRefused_ = refused ? unit.identifiedCode : QString();
    if (refused && !samePendantRefusedAgain_)
      PrintNotice(FormatText(Msg::CliSeriesPutAside, {unit.identifiedCode}));
  }

  const CliCommand& command_;
  CancelSignal& cancel_;
  QString seriesId_;
  CliFrontEnd& frontEnd_;
  std::vector<RefusedCode> passedOver_;  // first passed over since the last pendant
  std::vector<RefusedCode> allPassedOver_;
  QString lastRefused_;  // the code of the pendant refused last, if the last one was refused
  bool samePendantRefusedAgain_ = false;
};

CliReport Refused(const QString& operation, Msg::Id number, const QString& text, int exitCode) {
  CliReport report{operation, {}, {}, {}, exitCode};
  if (!text.isEmpty()) report.complaints << text;
  report.json = {{QStringLiteral("result"), number}, {QStringLiteral("text"), text}};
  return report;
}

// The first pendant that did not pass names the exit code; a series that ended before its count
// without one failed as a whole.
int SeriesExitCode(const SeriesRun& run) {
  for (const SeriesUnit& unit : run.Units()) {
    if (unit.result != SeriesUnit::Result::Failed && unit.result != SeriesUnit::Result::Skipped)
      continue;
    const int exitCode = ExitCodeOfResult(unit.findingNumber);
    return exitCode == ExitSuccess ? ExitFailed : exitCode;
  }
  return run.StoppedEarly() ? ExitFailed : ExitSuccess;
}

int SummaryResult(const SeriesRun& run, const BenchSeries& bench) {
  for (const SeriesUnit& unit : run.Units())
    if (unit.result == SeriesUnit::Result::Failed || unit.result == SeriesUnit::Result::Skipped)
      return unit.findingNumber;
  if (!bench.PendantRefusedAgain().isEmpty()) return Msg::CliSeriesSamePendantRefused;
  return run.StoppedEarly() ? Msg::SeriesStoppedEarly : 0;
}

CliReport Summary(const SeriesRun& run, const BenchSeries& bench, const CliFrontEnd& frontEnd,
                  const CancelSignal& cancel) {
  const SeriesCounts counts = run.Counts();
  CliReport report{QStringLiteral("series"), {}, {}, {}, SeriesExitCode(run)};
  report.lines << FormatText(Msg::SeriesSummaryId, {run.Setup().seriesId})
               << SeriesCountsText(counts);
  if (run.PlanExhausted()) report.complaints << Text(Msg::SeriesNoCodeLeft);
  if (const QString refused = bench.PendantRefusedAgain(); !refused.isEmpty())
    report.complaints << FormatText(Msg::CliSeriesSamePendantRefused, {refused});
  if (run.StoppedEarly()) report.lines << Text(Msg::SeriesStoppedEarly);
  if (cancel.Requested()) {
    report.exitCode = ExitCancelled;
    report.complaints << Text(Msg::CliCancelled);
  }
  report.complaints << frontEnd.KeepProblems();
  report.json = {{QStringLiteral("series"), run.Setup().seriesId},
                 {QStringLiteral("summary"), true},
                 {QStringLiteral("expected"), counts.expected},
                 {QStringLiteral("passed"), counts.passed},
                 {QStringLiteral("failed"), counts.failed},
                 {QStringLiteral("skipped"), counts.skipped},
                 {QStringLiteral("refused"), counts.refused},
                 {QStringLiteral("stoppedEarly"), run.StoppedEarly()},
                 {QStringLiteral("passedOver"), PassedOverAsJson(bench.PassedOver())},
                 {QStringLiteral("result"), SummaryResult(run, bench)},
                 {QStringLiteral("text"), SeriesCountsText(counts)}};
  return report;
}

}  // namespace

CliReport RunSeriesAtBench(const CliCommand& command, CancelSignal& cancel) {
  const QString operation = QStringLiteral("series");
  const OpenedConfiguration opened = OpenConfiguration(command, operation);
  if (opened.refusal) return *opened.refusal;
  const QString dataFolder = CliDataFolder();
  std::optional<SeriesCodePlan> plan;
  if (!command.listFile.isEmpty()) {
    std::optional<std::vector<Assignment>> entries = ReadAssignmentListFile(command.listFile);
    if (!entries) {
      return Refused(operation, Msg::SeriesListNotRead,
                     FormatText(Msg::SeriesListNotRead, {command.listFile}), ExitFailed);
    }
    plan = SeriesCodePlan::List(std::move(*entries));
  } else if (command.sequence) {
    plan = SeriesCodePlan::Sequence(*command.sequence);
  } else {
    plan = SeriesCodePlan::Keep();
  }
  plan->SetRecordCodes(CodesGivenInRecord(dataFolder));

  CliFrontEnd frontEnd(command, dataFolder);
  const CodecContext context = CliCodecContext(command);
  const ImageBytes configuration = VembaData::ExtractImageBytes(opened.image);
  if (!ConfirmSeriesStart(configuration, context, frontEnd)) {
    if (frontEnd.QuestionRefused())
      return Refused(operation, Msg::CliQuestionNotAnswered, {}, ExitUsage);
    const std::optional<Msg::Id> ruleBreak =
        CheckSeriesConfiguration(configuration, context).ruleBreak;
    CliReport report = Refused(operation, Msg::SeriesConfigurationRefused,
                               ruleBreak ? Text(*ruleBreak) : QString(), ExitFailed);
    report.complaints.clear();  // the refusal was printed as the window shows it
    return report;
  }

  const QString seriesId = NewSeriesId(QDateTime::currentDateTime());
  OpuLink link(command.link);
  ConsolePrompt prompt(cancel);
  BenchSeries bench(command, cancel, seriesId, frontEnd);
  SeriesRun run(SeriesSetup{configuration, command.count, seriesId, context}, *plan, bench, link,
                frontEnd);
  frontEnd.SetPoll([&run] { run.Operations().PollOpuInfo(); });
  run.Operations().AttachWaitingPrompt(&prompt);
  run.SetRecordObserver(&frontEnd);
  run.Run();
  return Summary(run, bench, frontEnd, cancel);
}
