// The main window's transmitter commands: each handler hands the window's configuration to the
// transmitter operations (link/TransmitterOperations.h), shows what they hand back, and answers
// their questions with message boxes.

#include "app/Changecode.h"
#include "app/Main.h"
#include "files/Backups.h"
#include "image/FieldRules.h"
#include "image/Texts.h"
#include "ui/OperationBoxes.h"

#include <QApplication>

void TfrmMain::BindTransmitterOperations() {
  operations_ = std::make_unique<TransmitterOperations>(link, *this, *this);
  operations_->SetHistory(this);
  connect(form.btnGetVembaCode, &QPushButton::clicked, this, &TfrmMain::btnGetVembaCodeClick);
  connect(form.btnReadFromDevice, &QPushButton::clicked, this, &TfrmMain::btnReadFromDeviceClick);
  connect(form.mnuCommReadFromDevice, &QAction::triggered, this, &TfrmMain::btnReadFromDeviceClick);
  connect(form.btnWriteToDevice, &QPushButton::clicked, this, &TfrmMain::btnWriteToDeviceClick);
  connect(form.mnuCommWriteToDevice, &QAction::triggered, this, &TfrmMain::btnWriteToDeviceClick);
  connect(form.mnuCommChangeIdCode, &QAction::triggered, this, &TfrmMain::mnuCommChangeIdCodeClick);
  connect(form.tmrPollOpuInfo, &QTimer::timeout, this, [this] { operations_->PollOpuInfo(); });
  connect(form.tmrPollOpu, &QTimer::timeout, this, [this] { operations_->PollRadioCode(); });
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

void TfrmMain::PendantCodeKnown(const QString& code) {
  form.edtRadioCodeOld->setText(code);
}

std::optional<ImageBytes> TfrmMain::LastKnownImage(const QString& radioCode) {
  return LatestBackup(DataFolder, radioCode);
}

std::optional<ImageBytes> TfrmMain::LastReadImage(const QString& radioCode) {
  return LatestBackup(DataFolder, radioCode, BackupKind::Read);
}

namespace {

// A box belongs to the dialog the user is working in (the code change's), else to the window.
QWidget* BoxParent(QWidget* window) {
  QWidget* modal = QApplication::activeModalWidget();
  return modal != nullptr ? modal : window;
}

}  // namespace

void TfrmMain::Tell(const OperationMessage& message) {
  if (!ShowOperationMessageBox(*environment_.dialogs, BoxParent(this), message))
    SetStatusText(message.Text());
}

Answer TfrmMain::Ask(const OperationQuestion& question) {
  if (question.kind != OperationQuestion::Kind::FewMeasurements)
    return AskInBox(*environment_.dialogs, BoxParent(this), question);
  return AskFewMeasurements(question.measurements) ? Answer::Yes : Answer::No;
}

WriteRequest TfrmMain::CurrentWriteRequest() {
  WriteRequest request;
  request.context = ShownCodecContext();
  request.untypedRefusal = document_.UntypedRefusal();
  request.buildStatus = document_.Build(request.image, OriginWrite);
  request.newCode = form.edtRadioCodeNew->text();
  return request;
}

void TfrmMain::ShowReadResult(const ReadResult& result) {
  if (result.jobRan) VembaData::ClearImage(ReceivedImage, 0, OriginNone);
  if (!result.received) return;
  ReceivedImage = result.image;
  // A configuration the codec could not show has been reported; it is shown as far as it goes.
  (void)document_.Show(ReceivedImage, OriginRead);
  ImageSource = SourceTransmitter;
  ReadTime = result.time;
  UpdateTitle();
}

void TfrmMain::btnGetVembaCodeClick() {
  operationGuard_.Run([this] { (void)operations_->IdentifyTransmitter(); });
}

void TfrmMain::btnReadFromDeviceClick() {
  operationGuard_.Run([this] { ShowReadResult(operations_->Read(ShownCodecContext())); });
}

void TfrmMain::btnWriteToDeviceClick() {
  operationGuard_.Run([this] { operations_->Write(CurrentWriteRequest()); });
}

void TfrmMain::mnuCommChangeIdCodeClick() {
  operationGuard_.Run([this] { dialogs_.frmChangeCode->exec(); });
}
