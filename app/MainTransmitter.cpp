// The main window's transmitter commands: each handler hands over to the transmitter operations
// (link/TransmitterOperations.h), which talk to the window through TransmitterView.

#include "app/Main.h"
#include "files/Backups.h"
#include "link/Changecode.h"
#include "ui/UserDialogs.h"

void TfrmMain::BindTransmitterOperations() {
  operations_ = std::make_unique<TransmitterOperations>(
      *this, *this,
      TransmitterState{link, CurrentRadioCode, RequestedRadioCode, PollAnswer, ReceivedImage,
                       OutgoingImage, ImageSource, ReadTime},
      *environment_.dialogs, this);
  connect(form.btnGetVembaCode, &QPushButton::clicked, this, &TfrmMain::btnGetVembaCodeClick);
  connect(form.btnReadFromDevice, &QPushButton::clicked, this, &TfrmMain::btnReadFromDeviceClick);
  connect(form.mnuCommReadFromDevice, &QAction::triggered, this,
          &TfrmMain::mnuCommReadFromDeviceClick);
  connect(form.btnWriteToDevice, &QPushButton::clicked, this, &TfrmMain::btnWriteToDeviceClick);
  connect(form.mnuCommWriteToDevice, &QAction::triggered, this,
          &TfrmMain::mnuCommWriteToDeviceClick);
  connect(form.mnuCommChangeIdCode, &QAction::triggered, this, &TfrmMain::mnuCommChangeIdCodeClick);
  connect(form.tmrPollOpuInfo, &QTimer::timeout, this, &TfrmMain::tmrPollOpuInfoTimer);
  connect(form.tmrPollOpu, &QTimer::timeout, this, &TfrmMain::tmrPollOpuTimer);
}

void TfrmMain::StartPollTimer(int intervalMs) {
  form.tmrPollOpuInfo->start(intervalMs);
}

void TfrmMain::StopPollTimer() {
  form.tmrPollOpuInfo->stop();
}

QString TfrmMain::RadioCodeOldText() const {
  return form.edtRadioCodeOld->text();
}

void TfrmMain::SetRadioCodeOldText(const QString& text) {
  form.edtRadioCodeOld->setText(text);
}

QString TfrmMain::RadioCodeNewText() const {
  return form.edtRadioCodeNew->text();
}

std::optional<ImageBytes> TfrmMain::LastKnownImage(const QString& radioCode) {
  return LatestBackup(DataFolder, radioCode);
}

std::optional<ImageBytes> TfrmMain::LastReadImage(const QString& radioCode) {
  return LatestBackup(DataFolder, radioCode, BackupKind::Read);
}

bool TfrmMain::ConfirmWrite(const WriteReview& review, const QString& question) {
  const bool alarms = !review.alarms.empty();
  return environment_.dialogs->ShowMessage(
             this, alarms ? BoxKind::Warning : BoxKind::Confirmation, question,
             alarms ? BoxButtons::YesNoDefaultNo : BoxButtons::YesNo) == mrYes;
}

void TfrmMain::btnGetVembaCodeClick() {
  operationGuard_.Run([this] { (void)operations_->IdentifyTransmitter(); });
}

void TfrmMain::btnReadFromDeviceClick() {
  operationGuard_.Run([this] { operations_->ReadFromDevice(); });
}

void TfrmMain::mnuCommReadFromDeviceClick() {
  btnReadFromDeviceClick();
}

void TfrmMain::btnWriteToDeviceClick() {
  operationGuard_.Run([this] { operations_->WriteToDevice(); });
}

void TfrmMain::mnuCommWriteToDeviceClick() {
  btnWriteToDeviceClick();
}

void TfrmMain::mnuCommChangeIdCodeClick() {
  operationGuard_.Run([this] { dialogs_.frmChangeCode->exec(); });
}

void TfrmMain::tmrPollOpuInfoTimer() {
  operations_->PollOpuInfo();
}

void TfrmMain::tmrPollOpuTimer() {
  operations_->PollRadioCode();
}
