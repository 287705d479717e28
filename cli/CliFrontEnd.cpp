#include "cli/CliFrontEnd.h"

#include "cli/CliOutput.h"
#include "cli/CliShow.h"
#include "files/Backups.h"
#include "files/DataFolders.h"
#include "files/ProgrammingRecord.h"
#include "files/SafetyNet.h"
#include "files/SettingsStartup.h"
#include "files/SiteMemory.h"
#include "files/VembaIni.h"
#include "image/FieldRules.h"
#include "image/Texts.h"

QString CliDataFolder() {
  StartupEnvironment environment = SystemStartupEnvironment();
  environment.arguments.clear();
  VembaIni settings;
  return RunSettingsStartup(environment, settings).DataFolder;
}

namespace {

// The window's kept name unless the command line names one: the bench's lines name the same
// technician as the window's.
QString TechnicianFor(const CliCommand& command, const QString& dataFolder) {
  if (!command.technician.isEmpty()) return command.technician;
  VembaIni settings;
  settings.SetPath(DataFilePath(dataFolder, SettingsFileName));
  return KeptTechnicianName(settings);
}

}  // namespace

CliFrontEnd::CliFrontEnd(const CliCommand& command, QString dataFolder)
    : command_(command),
      dataFolder_(std::move(dataFolder)),
      technician_(TechnicianFor(command, dataFolder_)),
      context_(CliCodecContext(command)) {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (poll_) poll_();
  });
}

std::optional<ImageBytes> CliFrontEnd::LastKnownImage(const QString& radioCode) {
  return LatestBackup(dataFolder_, radioCode);
}

std::optional<ImageBytes> CliFrontEnd::LastReadImage(const QString& radioCode) {
  return LatestBackup(dataFolder_, radioCode, BackupKind::Read);
}

void CliFrontEnd::Tell(const OperationMessage& message) {
  if (message.inStatusLine) {
    status_ = message.Text();
  } else {
    // What the window shows in a box, the bench reads on the standard error.
    PrintNotice(message.Text());
  }
}

Answer CliFrontEnd::Ask(const OperationQuestion& question) {
  switch (question.kind) {
    case OperationQuestion::Kind::WriteCodeChange:
    case OperationQuestion::Kind::CodeChange:
      if (command_.confirmNewCode) return Answer::Yes;
      RefuseQuestion(question.text, QStringLiteral("--confirm-new-code"));
      return question.kind == OperationQuestion::Kind::CodeChange ? Answer::No : Answer::Abort;
    case OperationQuestion::Kind::WriteReview:
      // A series asks once, before its first pendant, and only about alarms switched off.
      if (question.review.alarms.empty() || command_.acceptAlarmChanges) {
        if (command_.operation != CliOperation::Series) PrintNotice(question.text);
        return Answer::Yes;
      }
      RefuseQuestion(question.text, QStringLiteral("--yes"));
      return Answer::No;
    case OperationQuestion::Kind::FewMeasurements:
      if (command_.acceptFewMeasurements) return Answer::Yes;
      RefuseQuestion(question.text, QStringLiteral("--accept-few-measurements"));
      return Answer::No;
  }
  return Answer::No;
}

void CliFrontEnd::StartPollTimer(int intervalMs) {
  timer_.start(intervalMs);
}

void CliFrontEnd::OperationFinished(const OperationOutcome& outcome) {
  std::optional<Assignment> given;
  if (!command_.site.isEmpty() || !command_.resident.isEmpty())
    given = Assignment{{}, command_.site, command_.resident, {}};
  OperationOutcome stamped = StampRecipient(dataFolder_, outcome, given, {});
  stamped.technician = technician_;
  outcomes_.push_back(stamped);
  keepProblems_ << KeepOutcome(dataFolder_, stamped);
  // The line just kept names the backup and the checksum, as the record window shows them.
  const auto entries = ReadRecordFile(DataFilePath(dataFolder_, RecordFileName));
  kept_.push_back(entries && !entries->empty() ? entries->back() : RecordEntry{});
}

void CliFrontEnd::RefuseQuestion(const QString& question, const QString& option) {
  questionRefused_ = true;
  PrintNotice(FormatText(Msg::CliQuestionNotAnswered, {question, option}));
}
