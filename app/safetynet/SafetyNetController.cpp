#include "app/safetynet/SafetyNetController.h"

#include "app/Main.h"
#include "app/safetynet/ComparisonWindow.h"
#include "app/safetynet/RecordWindow.h"
#include "files/IniFile.h"
#include "files/ProgrammingRecord.h"
#include "files/SafetyNet.h"
#include "files/VembaIni.h"
#include "image/Texts.h"
#include "ui/UserDialogs.h"

#include <QMenu>

SafetyNetController::SafetyNetController(TfrmMain& window, ConfigurationFiles& files,
                                         TransmitterOperations& operations, UserDialogs& dialogs)
    : QObject(&window),
      mnuFileRecord(new QAction(Text(Msg::MenuFileRecord), &window)),
      mnuFileCompare(new QAction(Text(Msg::MenuFileCompare), &window)),
      mnuCommVerifyAfterWrite(new QAction(Text(Msg::MenuCommVerifyAfterWrite), &window)),
      window_(window),
      files_(files),
      operations_(operations),
      dialogs_(dialogs) {
  // Beside the commands they belong with: the record and the comparison after Save As, the check
  // after the write.
  mnuFileRecord->setObjectName(QStringLiteral("mnuFileRecord"));
  mnuFileCompare->setObjectName(QStringLiteral("mnuFileCompare"));
  window.form.mnuFile->insertActions(window.form.mnuDelimiter1, {mnuFileCompare, mnuFileRecord});
  mnuCommVerifyAfterWrite->setObjectName(QStringLiteral("mnuCommVerifyAfterWrite"));
  mnuCommVerifyAfterWrite->setCheckable(true);
  window.form.mnuComm->insertAction(window.form.N1, mnuCommVerifyAfterWrite);

  // Off unless the technician chose it: the write then stays exactly as it always was.
  const bool verify = window.VembaIni.ReadSetting(SetupSection, VerifyAfterWriteKey) == u'1';
  mnuCommVerifyAfterWrite->setChecked(verify);
  operations_.SetVerifyAfterWrite(verify);
  operations_.SetObserver(this);

  connect(mnuFileRecord, &QAction::triggered, this, &SafetyNetController::mnuFileRecordClick);
  connect(mnuFileCompare, &QAction::triggered, this, &SafetyNetController::mnuFileCompareClick);
  connect(mnuCommVerifyAfterWrite, &QAction::toggled, this,
          &SafetyNetController::mnuCommVerifyAfterWriteClick);
}

void SafetyNetController::OperationFinished(const OperationOutcome& outcome) {
  const QStringList problems = KeepOutcome(window_.DataFolder, outcome);
  window_.ReportTraceProblem();
  if (problems.isEmpty()) return;
  // Never instead of the operation's own report: after it.
  const QString own = window_.StatusText();
  window_.SetStatusText((own.isEmpty() ? QString() : own + QStringLiteral(" \u2013 ")) +
                        problems.join(u' '));
}

void SafetyNetController::mnuFileRecordClick() {
  if (frmRecord == nullptr) frmRecord = new TfrmRecord(dialogs_, &window_);
  if (!frmRecord->LoadRecord(window_.DataFolder)) return;
  if (frmRecord->exec() != mrOk) return;
  // Opened as Datei › Öffnen opens a file: the same checks, the same title.
  files_.LoadConfigurationFile(frmRecord->SelectedBackupPath(), false);
}

void SafetyNetController::ShowRecord(QWidget* over) {
  TfrmRecord record(dialogs_, over);
  if (!record.LoadRecord(window_.DataFolder)) return;
  record.exec();
}

void SafetyNetController::mnuFileCompareClick() {
  if (frmComparison == nullptr) frmComparison = new TfrmComparison(&window_);
  frmComparison->CompareWithFile(files_, window_.form.edtRadioCodeOld->text());
}

void SafetyNetController::mnuCommVerifyAfterWriteClick(bool checked) {
  operations_.SetVerifyAfterWrite(checked);
  // The choice holds for this run even when it cannot be remembered.
  try {
    window_.VembaIni.WriteSetting(SetupSection, VerifyAfterWriteKey,
                                  checked ? QStringLiteral("1") : QStringLiteral("0"));
  } catch (const IniWriteError& error) {
    dialogs_.ShowError(&window_, error.message());
  }
}
