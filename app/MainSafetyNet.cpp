// The technician's safety net in the main window: every finished transmitter operation is kept in
// the programming record (files/ProgrammingRecord.h) with a backup of the image it read or sent;
// Datei › Protokoll… and Datei › Vergleichen mit… show them; Kommunikation › Nach dem Schreiben
// prüfen has every write read back.

#include "app/Main.h"
#include "files/ComparisonWindow.h"
#include "files/IniFile.h"
#include "files/ProgrammingRecord.h"
#include "files/RecordWindow.h"
#include "files/VembaIni.h"
#include "ui/Texts.h"
#include "ui/UserDialogs.h"

#include <QFileInfo>
#include <QMenu>

void TfrmMain::BindSafetyNet() {
  // Beside the commands they belong with: the record and the comparison after Save As, the check
  // after the write.
  mnuFileRecord = new QAction(Text(Msg::MenuFileRecord), this);
  mnuFileRecord->setObjectName(QStringLiteral("mnuFileRecord"));
  mnuFileCompare = new QAction(Text(Msg::MenuFileCompare), this);
  mnuFileCompare->setObjectName(QStringLiteral("mnuFileCompare"));
  form.mnuFile->insertActions(form.mnuDelimiter1, {mnuFileCompare, mnuFileRecord});
  mnuCommVerifyAfterWrite = new QAction(Text(Msg::MenuCommVerifyAfterWrite), this);
  mnuCommVerifyAfterWrite->setObjectName(QStringLiteral("mnuCommVerifyAfterWrite"));
  mnuCommVerifyAfterWrite->setCheckable(true);
  form.mnuComm->insertAction(form.N1, mnuCommVerifyAfterWrite);

  // Off unless the technician chose it: the write then stays exactly as it always was.
  const bool verify = VembaIni.ReadSetting(SetupSection, VerifyAfterWriteKey) == u'1';
  mnuCommVerifyAfterWrite->setChecked(verify);
  operations_->SetVerifyAfterWrite(verify);
  operations_->SetObserver(this);

  connect(mnuFileRecord, &QAction::triggered, this, &TfrmMain::mnuFileRecordClick);
  connect(mnuFileCompare, &QAction::triggered, this, &TfrmMain::mnuFileCompareClick);
  connect(mnuCommVerifyAfterWrite, &QAction::toggled, this,
          &TfrmMain::mnuCommVerifyAfterWriteClick);
}

CodecContext TfrmMain::ShownCodecContext() const {
  return codecContext();
}

void TfrmMain::OperationFinished(const OperationOutcome& outcome) {
  const QStringList problems = KeepOperation(DataFolder, outcome);
  if (problems.isEmpty()) return;
  // Never instead of the operation's own report: after it.
  const QString own = StatusText();
  SetStatusText((own.isEmpty() ? QString() : own + QStringLiteral(" \u2013 ")) +
                problems.join(u' '));
}

void TfrmMain::mnuFileRecordClick() {
  if (frmRecord == nullptr) frmRecord = new TfrmRecord(*environment_.dialogs, this);
  if (!frmRecord->LoadRecord(DataFolder)) return;
  if (frmRecord->exec() != mrOk) return;
  // Opened as Datei › Öffnen opens a file: the same checks, the same title.
  configurationFiles_.LoadConfigurationFile(frmRecord->SelectedBackupPath(), false);
}

void TfrmMain::mnuFileCompareClick() {
  const std::optional<FileComparison> comparison =
      configurationFiles_.CompareWithFile(form.edtRadioCodeOld->text());
  if (!comparison) return;
  if (frmComparison == nullptr) frmComparison = new TfrmComparison(this);
  frmComparison->ShowComparison(comparison->rows, InactivityLimitMode(),
                                QFileInfo(comparison->path).fileName());
  frmComparison->exec();
}

void TfrmMain::mnuCommVerifyAfterWriteClick(bool checked) {
  operations_->SetVerifyAfterWrite(checked);
  // The choice holds for this run even when it cannot be remembered.
  try {
    VembaIni.WriteSetting(SetupSection, VerifyAfterWriteKey,
                          checked ? QStringLiteral("1") : QStringLiteral("0"));
  } catch (const IniWriteError& error) {
    environment_.dialogs->ShowError(this, error.message());
  }
}
