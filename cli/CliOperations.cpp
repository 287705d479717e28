#include "cli/CliOperations.h"

#include "cli/CancelSignal.h"
#include "cli/CliFrontEnd.h"
#include "cli/CliShow.h"
#include "cli/ConsolePrompt.h"
#include "files/ImageFiles.h"
#include "files/ProgrammingRecord.h"
#include "image/FieldCatalogue.h"
#include "image/FieldRules.h"
#include "image/ImageComparison.h"
#include "link/CodeChangeDialogue.h"
#include "link/TransferBlocks.h"
#include "link/TransmitterOperations.h"
#include "link/WriteCheck.h"
#include "image/Texts.h"

#include <QJsonArray>

#include <optional>

namespace {

QString OperationName(CliOperation operation) {
  switch (operation) {
    case CliOperation::Read:
      return QStringLiteral("read");
    case CliOperation::Write:
      return QStringLiteral("write");
    case CliOperation::Verify:
      return QStringLiteral("verify");
    case CliOperation::ChangeCode:
      return QStringLiteral("change-code");
    case CliOperation::Check:
      return QStringLiteral("check");
    case CliOperation::Show:
      return QStringLiteral("show");
    case CliOperation::Series:
      return QStringLiteral("series");
  }
  return {};
}

QString OutcomeName(OperationKind kind) {
  switch (kind) {
    case OperationKind::Read:
      return QStringLiteral("read");
    case OperationKind::Write:
      return QStringLiteral("write");
    case OperationKind::ChangeCode:
      return QStringLiteral("change-code");
    case OperationKind::Verify:
      return QStringLiteral("verify");
  }
  return {};
}

// Every field the window would refuse as it shows the file: its field rules' messages.
std::vector<Msg::Id> FieldRuleRefusals(const ParameterImage& image, const CodecContext& context) {
  std::vector<Msg::Id> refusals;
  for (const ShownValue& shown : ShowImageValues(image, OriginLoad, context).values) {
    const RuleVerdict verdict =
        shown.field == Field::edtInactivityLimit
            ? CheckInactivityLimit(shown.text, context.limitMode, shown.unit)
            : CheckRange(shown.field, shown.text, context.locale);
    if (verdict) refusals.push_back(verdict->message);
  }
  return refusals;
}

QJsonArray DifferencesAsJson(const std::vector<ComparedField>& differences,
                             const CodecContext& context) {
  QJsonArray array;
  for (const ComparedField& field : differences)
    array.append(QJsonObject{
        {QStringLiteral("field"), Text(FieldCaptionText(field.field, context.limitMode))},
        {QStringLiteral("written"), field.left},
        {QStringLiteral("read"), field.right}});
  return array;
}

// The window's members for one run, and the operations over them.
class Session {
 public:
  Session(const CliCommand& command, CancelSignal& cancel)
      : command_(command),
        cancel_(cancel),
        members_(command.link),
        frontEnd_(command, CliDataFolder()),
        prompt_(cancel),
        operations_(frontEnd_, frontEnd_, members_.State(), frontEnd_, nullptr) {
    operations_.AttachWaitingPrompt(&prompt_);
    operations_.SetObserver(&frontEnd_);
    operations_.SetVerifyAfterWrite(command.verify);
    frontEnd_.SetPoll([this] { operations_.PollOpuInfo(); });
  }

  CliReport Run() {
    CliReport report{OperationName(command_.operation), {}, {}, {}, ExitSuccess};
    std::optional<ParameterImage> sent;
    if (command_.operation == CliOperation::Write || command_.operation == CliOperation::Verify) {
      const OpenedConfiguration opened = OpenConfiguration(command_, report.operation);
      if (opened.refusal) return *opened.refusal;
      const std::vector<Msg::Id> refusals =
          FieldRuleRefusals(opened.image, frontEnd_.ShownCodecContext());
      if (!refusals.empty()) {
        QStringList messages;
        for (const Msg::Id refusal : refusals) messages << Text(refusal);
        return Refused(report, refusals.front(), messages);
      }
      (void)frontEnd_.ShowImage(opened.image, OriginLoad);
      sent.emplace();
      const int status = frontEnd_.BuildImage(*sent, OriginWrite);
      if (status != ImageOk) return NotBuilt(report, status);
    }
    if (command_.dryRun) return DryRun(report);
    switch (command_.operation) {
      case CliOperation::Read:
      case CliOperation::Verify:
        operations_.ReadFromDevice();
        break;
      case CliOperation::Write:
        operations_.WriteToDevice();
        break;
      case CliOperation::ChangeCode:
        (void)RunCodeChangeDialogue(operations_, frontEnd_, nullptr, command_.newCode);
        break;
      case CliOperation::Check:
      case CliOperation::Show:
      case CliOperation::Series:
        break;
    }
    Describe(report);
    if (report.exitCode == ExitSuccess && command_.operation == CliOperation::Read)
      SaveRead(report);
    if (report.exitCode == ExitSuccess && command_.operation == CliOperation::Verify && sent)
      Compare(report, *sent);
    return report;
  }

 private:
  static CliReport Refused(CliReport report, Msg::Id number, const QStringList& messages) {
    report.complaints = messages;
    report.exitCode = ExitFailed;
    report.json = {{QStringLiteral("result"), number},
                   {QStringLiteral("text"), messages.join(u'\n')}};
    return report;
  }

  // A field of the file that cannot be built: nothing is sent.
  static CliReport NotBuilt(const CliReport& report, int address) {
    return Refused(report, Msg::ConversionFailedAtAddress,
                   {FormatText(Msg::ConversionFailedAtAddress, {QString::number(address)})});
  }

  // Everything up to the conversation: the blocks that would go out, and nothing sent.
  CliReport DryRun(CliReport report) {
    QStringList blocks;
    if (command_.operation == CliOperation::ChangeCode) {
      blocks << RadioCodeBlockText(RadioCodeAsSent(command_.newCode));
    } else {
      members_.outgoingImage = ParameterImage{};
      const int status = frontEnd_.BuildImage(members_.outgoingImage, OriginWrite);
      if (status != ImageOk) return NotBuilt(report, status);
      if (!frontEnd_.ConfirmInactivityCount(members_.outgoingImage)) {
        report.exitCode = ExitUsage;
        report.json = {{QStringLiteral("result"), Msg::FewIdenticalMeasurementsWarning}};
        return report;
      }
      blocks = WriteBlocks(members_.outgoingImage, !command_.newCode.isEmpty());
    }
    QJsonArray json;
    for (const QString& block : blocks) {
      report.lines << FormatText(Msg::CliDryRunBlock, {QStringLiteral("n") + block});
      json.append(QStringLiteral("n") + block);
    }
    report.lines << Text(Msg::CliDryRunNothingSent);
    report.json = {{QStringLiteral("result"), 0},
                   {QStringLiteral("dryRun"), true},
                   {QStringLiteral("blocks"), json}};
    return report;
  }

  // The outcomes the operations reported, as the exit code, the lines and the JSON members.
  void Describe(CliReport& report) {
    const std::vector<OperationOutcome>& outcomes = frontEnd_.Outcomes();
    const OperationOutcome* failed = nullptr;
    for (const OperationOutcome& outcome : outcomes)
      if (failed == nullptr && ExitCodeOfResult(outcome.resultNumber) != ExitSuccess)
        failed = &outcome;
    if (frontEnd_.QuestionRefused()) {
      report.exitCode = ExitUsage;
    } else if (cancel_.Requested() && (failed != nullptr || outcomes.empty())) {
      report.exitCode = ExitCancelled;
      report.complaints << Text(Msg::CliCancelled);
    } else if (failed != nullptr) {
      report.exitCode = ExitCodeOfResult(failed->resultNumber);
    } else if (outcomes.empty()) {
      // Stopped before anything was recorded: nothing was done.
      report.exitCode = ExitFailed;
    }
    const QString codeBefore = outcomes.empty() ? QString() : outcomes.front().codeBefore;
    const QString codeAfter = outcomes.empty() ? QString() : outcomes.back().codeAfter;
    const QString text = failed != nullptr ? failed->resultText : frontEnd_.StatusText();
    if (!frontEnd_.StatusText().isEmpty()) {
      (report.exitCode == ExitSuccess ? report.lines : report.complaints) << frontEnd_.StatusText();
    }
    if (!codeBefore.isEmpty() || !codeAfter.isEmpty())
      report.lines << FormatText(Msg::CliCodes, {codeBefore, codeAfter});
    QJsonArray steps;
    QString backup;
    QString sha256;
    for (const OperationOutcome& outcome : outcomes) {
      const RecordEntry kept =
          frontEnd_.KeptEntry(static_cast<std::size_t>(&outcome - outcomes.data()));
      if (backup.isEmpty()) backup = kept.backup;
      if (sha256.isEmpty()) sha256 = kept.sha256;
      steps.append(QJsonObject{{QStringLiteral("operation"), OutcomeName(outcome.kind)},
                               {QStringLiteral("result"), outcome.resultNumber},
                               {QStringLiteral("text"), outcome.resultText},
                               {QStringLiteral("backup"), kept.backup},
                               {QStringLiteral("sha256"), kept.sha256}});
    }
    if (!backup.isEmpty()) report.lines << FormatText(Msg::CliBackup, {backup});
    if (!sha256.isEmpty()) report.lines << FormatText(Msg::CliChecksum, {sha256});
    report.complaints << frontEnd_.KeepProblems();
    report.json = {{QStringLiteral("codeBefore"), codeBefore},
                   {QStringLiteral("codeAfter"), codeAfter},
                   {QStringLiteral("result"), failed != nullptr ? failed->resultNumber : 0},
                   {QStringLiteral("text"), text},
                   {QStringLiteral("backup"), backup},
                   {QStringLiteral("sha256"), sha256},
                   {QStringLiteral("records"), steps}};
  }

  void SaveRead(CliReport& report) {
    if (command_.outFile.isEmpty()) return;
    const std::optional<ImageBytes>& bytes = frontEnd_.Outcomes().front().image;
    if (!bytes || !WriteImageFile(*bytes, command_.outFile)) {
      report.complaints << FormatText(Msg::CliNotSaved, {command_.outFile});
      report.exitCode = ExitFailed;
      return;
    }
    report.lines << FormatText(Msg::CliSavedTo, {command_.outFile});
    report.json.insert(QStringLiteral("file"), command_.outFile);
  }

  // verify: the read's bytes against what a write of the file would send.
  void Compare(CliReport& report, const ParameterImage& sent) {
    const CodecContext context = frontEnd_.ShownCodecContext();
    const std::vector<ComparedField> differences =
        FieldsNotKept(sent, members_.receivedImage, context, &Text);
    report.json.insert(QStringLiteral("file"), command_.file);
    report.json.insert(QStringLiteral("differences"), DifferencesAsJson(differences, context));
    const std::optional<OperationMessage> message =
        WriteCheckMessage(mrOk, members_.currentRadioCode, &sent, members_.receivedImage, context);
    if (!message) {
      report.lines << Text(Msg::CliVerifyNoDifferences);
      return;
    }
    const QString text = FormatText(message->number, message->arguments);
    report.complaints << text;
    report.exitCode = differences.empty() ? ExitFailed : ExitDifferences;
    report.json.insert(QStringLiteral("result"), message->number);
    report.json.insert(QStringLiteral("text"), text);
  }

  const CliCommand& command_;
  CancelSignal& cancel_;
  CliTransmitterMembers members_;
  CliFrontEnd frontEnd_;
  ConsolePrompt prompt_;
  TransmitterOperations operations_;
};

}  // namespace

int ExitCodeOfResult(int resultNumber) {
  switch (resultNumber) {
    case 0:
    case Msg::CodeChangeNotNeeded:  // the pendant has the new code already
      return ExitSuccess;
    case Msg::OpuNotReachable:
    case Msg::PortUnusable:
      return ExitNoOpu;
    case Msg::VerifyFoundDifferences:
      return ExitDifferences;
    default:
      return ExitFailed;
  }
}

CliReport RunTransmitterOperation(const CliCommand& command, CancelSignal& cancel) {
  return Session(command, cancel).Run();
}
