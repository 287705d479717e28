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

int CliFrontEnd::ShowImage(const ParameterImage& image, ImageOrigin expectedOrigin) {
  const ShowResult shown = ShowImageValues(image, expectedOrigin, context_);
  for (const ShownValue& value : shown.values) {
    fields_.texts[value.field] = value.text;
    fields_.checks[value.field] = value.checked;
    if (value.field == Field::edtInactivityLimit) fields_.selectedUnit = value.unit;
  }
  return shown.status;
}

int CliFrontEnd::BuildImage(ParameterImage& image, ImageOrigin origin) {
  FieldValues fields = fields_;
  // The new code comes from the command line, as the window takes it from its field.
  fields.texts[Field::edtRadioCodeNew] = command_.newCode;
  return BuildImageFromFields(image, origin, fields, context_);
}

std::optional<Msg::Id> CliFrontEnd::UntypedFieldRefusal() const {
  return UntypedTextRefusal(fields_, context_);
}

bool CliFrontEnd::ConfirmInactivityCount(const ParameterImage& image) {
  const int count = InactivityCountOf(image);
  if (count >= RecommendedInactivityCount || command_.acceptFewMeasurements) return true;
  QString limit = fields_.texts[Field::edtInactivityLimit];
  if (fields_.selectedUnit != NoUnit)
    limit += u' ' + Text(fields_.selectedUnit == UnitHours ? Msg::UnitHours : Msg::UnitMinutes);
  RefuseQuestion(FormatText(Msg::FewIdenticalMeasurementsWarning,
                            {limit, fields_.texts[Field::edtInactivitySampleInterval],
                             QString::number(count)}),
                 QStringLiteral("--accept-few-measurements"));
  return false;
}

std::optional<ImageBytes> CliFrontEnd::LastKnownImage(const QString& radioCode) {
  return LatestBackup(dataFolder_, radioCode);
}

std::optional<ImageBytes> CliFrontEnd::LastReadImage(const QString& radioCode) {
  return LatestBackup(dataFolder_, radioCode, BackupKind::Read);
}

bool CliFrontEnd::ConfirmWrite(const WriteReview& review, const QString& question) {
  if (review.alarms.empty() || command_.acceptAlarmChanges) {
    PrintNotice(question);
    return true;
  }
  RefuseQuestion(question, QStringLiteral("--yes"));
  return false;
}

void CliFrontEnd::StartPollTimer(int intervalMs) {
  timer_.start(intervalMs);
}

void CliFrontEnd::OperationFinished(const OperationOutcome& outcome) {
  OperationOutcome stamped = outcome;
  stamped.technician = technician_;
  // A series' unit names its own site and room from the assignment list; else the options name
  // them, or what was recorded for the pendant the last time, as in the window.
  if (stamped.site.isEmpty() && stamped.resident.isEmpty()) {
    stamped.site = command_.site;
    stamped.resident = command_.resident;
  }
  if (stamped.site.isEmpty() && stamped.resident.isEmpty()) {
    if (const auto known = RecalledFor(dataFolder_, outcome)) {
      stamped.site = known->facility;
      stamped.resident = known->room;
    }
  }
  outcomes_.push_back(stamped);
  keepProblems_ << KeepOperation(dataFolder_, stamped);
  if (const QString problem = RememberRecipientOf(dataFolder_, stamped); !problem.isEmpty())
    keepProblems_ << problem;
  // The line just kept names the backup and the checksum, as the record window shows them.
  const auto entries = ReadRecordFile(DataFilePath(dataFolder_, RecordFileName));
  kept_.push_back(entries && !entries->empty() ? entries->back() : RecordEntry{});
}

ModalResult CliFrontEnd::ShowMessage(QWidget* /*parent*/, BoxKind /*kind*/, const QString& text,
                                     BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok:
      // What the window shows in a box, the bench reads on the standard error.
      PrintNotice(text);
      return mrOk;
    case BoxButtons::YesNo:
    case BoxButtons::YesNoAbort:
    case BoxButtons::YesNoDefaultNo:
      // A series' plan answers the code question; the series asks only once, before its first
      // pendant, whether to write a configuration that switches alarm functions off.
      if (command_.operation == CliOperation::Series) {
        if (command_.acceptAlarmChanges) return mrYes;
        RefuseQuestion(text, QStringLiteral("--yes"));
        return mrNo;
      }
      if (command_.confirmNewCode) return mrYes;
      RefuseQuestion(text, QStringLiteral("--confirm-new-code"));
      return buttons == BoxButtons::YesNo ? mrNo : mrAbort;
    case BoxButtons::OkCancel:
      // Asked only by a series, once for all its pendants: the warning about fewer than 12
      // identical measurements.
      if (command_.acceptFewMeasurements) return mrOk;
      RefuseQuestion(text, QStringLiteral("--accept-few-measurements"));
      return mrCancel;
  }
  return mrCancel;
}

void CliFrontEnd::RefuseQuestion(const QString& question, const QString& option) {
  questionRefused_ = true;
  PrintNotice(FormatText(Msg::CliQuestionNotAnswered, {question, option}));
}
