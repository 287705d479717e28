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
#include "image/Texts.h"
#include "image/VembaData.h"
#include "link/TransferBlocks.h"
#include "link/TransmitterOperations.h"
#include "link/WriteCheck.h"
#include "link/opu/OpuLink.h"

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

// The link, the front end and the operations for one run.
class Session {
 public:
  Session(const CliCommand& command, CancelSignal& cancel)
      : command_(command),
        cancel_(cancel),
        link_(command.link),
        frontEnd_(command, CliDataFolder()),
        prompt_(cancel),
        operations_(link_, frontEnd_, frontEnd_) {
    operations_.AttachWaitingPrompt(&prompt_);
    operations_.SetObserver(&frontEnd_);
    operations_.SetHistory(&frontEnd_);
    operations_.SetVerifyAfterWrite(command.verify);
    frontEnd_.SetPoll([this] { operations_.PollOpuInfo(); });
  }

  CliReport Run() {
    CliReport report{OperationName(command_.operation), {}, {}, {}, ExitSuccess};
    std::optional<WriteRequest> write;
    if (command_.operation == CliOperation::Write || command_.operation == CliOperation::Verify) {
      const OpenedConfiguration opened = OpenConfiguration(command_, report.operation);
      if (opened.refusal) return *opened.refusal;
      const std::vector<Msg::Id> refusals =
          ConfigurationRuleBreaks(opened.image, OriginLoad, frontEnd_.Context());
      if (!refusals.empty()) {
        QStringList messages;
        for (const Msg::Id refusal : refusals) messages << Text(refusal);
        return Refused(report, refusals.front(), messages);
      }
      write = FileWrite(opened.image);
    }
    if (command_.dryRun) return DryRun(report, write);
    switch (command_.operation) {
      case CliOperation::Read:
      case CliOperation::Verify:
        read_ = operations_.Read(frontEnd_.Context());
        break;
      case CliOperation::Write:
        operations_.Write(*write);
        break;
      case CliOperation::ChangeCode:
        (void)operations_.ChangeCode(command_.newCode);
        break;
      case CliOperation::Check:
      case CliOperation::Show:
      case CliOperation::Series:
        break;
    }
    Describe(report);
    if (report.exitCode == ExitSuccess && command_.operation == CliOperation::Read)
      SaveRead(report);
    if (report.exitCode == ExitSuccess && command_.operation == CliOperation::Verify && write)
      Compare(report, write->image);
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

  // The file's bytes as the write sends them, with the new code of the options: no value passes
  // through the texts the window would show.
  [[nodiscard]] WriteRequest FileWrite(const ParameterImage& file) const {
    WriteRequest request;
    VembaData::LoadImageBytes(request.image, VembaData::ExtractImageBytes(file), OriginWrite);
    const QString newCode = RadioCodeAsSent(command_.newCode);
    if (!newCode.isEmpty())
      VembaData::HexTextToBytes(newCode, request.image[RadioCodeAddress].value,
                                request.image[RadioCodeAddress + 1].value);
    request.newCode = command_.newCode;
    request.context = frontEnd_.Context();
    return request;
  }

  // Everything up to the conversation: the blocks that would go out, and nothing sent.
  CliReport DryRun(CliReport report, const std::optional<WriteRequest>& write) {
    QStringList blocks;
    if (command_.operation == CliOperation::ChangeCode) {
      blocks << RadioCodeBlockText(RadioCodeAsSent(command_.newCode));
    } else if (write) {
      const std::optional<OperationQuestion> fewMeasurements =
          FewMeasurementsQuestion(write->image, write->context);
      if (fewMeasurements && frontEnd_.Ask(*fewMeasurements) != Answer::Yes) {
        report.exitCode = ExitUsage;
        report.json = {{QStringLiteral("result"), Msg::FewIdenticalMeasurementsWarning}};
        return report;
      }
      blocks = WriteBlocks(write->image, !command_.newCode.isEmpty());
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
    const CodecContext context = frontEnd_.Context();
    const std::vector<ComparedField> differences = FieldsNotKept(sent, read_.image, context, &Text);
    report.json.insert(QStringLiteral("file"), command_.file);
    report.json.insert(QStringLiteral("differences"), DifferencesAsJson(differences, context));
    const std::optional<OperationMessage> message =
        WriteCheckMessage(mrOk, read_.code, &sent, read_.image, context);
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
  OpuLink link_;
  CliFrontEnd frontEnd_;
  ConsolePrompt prompt_;
  TransmitterOperations operations_;
  ReadResult read_;
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
