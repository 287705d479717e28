// The main window's transmitter commands: each handler hands over to the transmitter operations
// (link/TransmitterOperations.h), which talk to the window through TransmitterView.

#include "app/Main.h"
#include "link/Changecode.h"
#include "ui/UserDialogs.h"

void TfrmMain::BindTransmitterOperations() {
  operations_ = std::make_unique<TransmitterOperations>(
      *this,
      TransmitterState{link, CurrentRadioCode, RequestedRadioCode, PollAnswer, ReceivedImage,
                       OutgoingImage, ImageSource, ReadTime, *tmrPollOpuInfo},
      *environment_.dialogs, this);
  connect(btnGetVembaCode, &QPushButton::clicked, this, &TfrmMain::btnGetVembaCodeClick);
  connect(btnReadFromDevice, &QPushButton::clicked, this, &TfrmMain::btnReadFromDeviceClick);
  connect(mnuCommReadFromDevice, &QAction::triggered, this, &TfrmMain::mnuCommReadFromDeviceClick);
  connect(btnWriteToDevice, &QPushButton::clicked, this, &TfrmMain::btnWriteToDeviceClick);
  connect(mnuCommWriteToDevice, &QAction::triggered, this, &TfrmMain::mnuCommWriteToDeviceClick);
  connect(mnuCommChangeIdCode, &QAction::triggered, this, &TfrmMain::mnuCommChangeIdCodeClick);
  connect(tmrPollOpuInfo, &QTimer::timeout, this, &TfrmMain::tmrPollOpuInfoTimer);
  connect(tmrPollOpu, &QTimer::timeout, this, &TfrmMain::tmrPollOpuTimer);
}

QString TfrmMain::RadioCodeOldText() const {
  return edtRadioCodeOld->text();
}

void TfrmMain::SetRadioCodeOldText(const QString& text) {
  edtRadioCodeOld->setText(text);
}

QString TfrmMain::RadioCodeNewText() const {
  return edtRadioCodeNew->text();
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
