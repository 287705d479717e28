#include "app/MainTransmitter.h"

#include "app/Main.h"
#include "files/Backups.h"
#include "ui/OperationBoxes.h"
#include "ui/OperationGuard.h"

#include <QApplication>

namespace {

// A box belongs to the dialog the user is working in (the code change's), else to the window.
QWidget* BoxParent(QWidget* window) {
  QWidget* modal = QApplication::activeModalWidget();
  return modal != nullptr ? modal : window;
}

}  // namespace

TransmitterCommands::TransmitterCommands(TfrmMain& window, OperationGuard& guard,
                                         UserDialogs& dialogs)
    : QObject(&window),
      window_(window),
      guard_(guard),
      dialogs_(dialogs),
      operations_(window.link, *this, *this) {
  operations_.SetHistory(this);
  MainForm& form = window.form;
  connect(form.btnGetVembaCode, &QPushButton::clicked, this,
          &TransmitterCommands::btnGetVembaCodeClick);
  connect(form.btnReadFromDevice, &QPushButton::clicked, this,
          &TransmitterCommands::btnReadFromDeviceClick);
  connect(form.mnuCommReadFromDevice, &QAction::triggered, this,
          &TransmitterCommands::btnReadFromDeviceClick);
  connect(form.btnWriteToDevice, &QPushButton::clicked, this,
          &TransmitterCommands::btnWriteToDeviceClick);
  connect(form.mnuCommWriteToDevice, &QAction::triggered, this,
          &TransmitterCommands::btnWriteToDeviceClick);
  connect(form.tmrPollOpuInfo, &QTimer::timeout, this, [this] { operations_.PollOpuInfo(); });
  connect(form.tmrPollOpu, &QTimer::timeout, this, [this] { operations_.PollRadioCode(); });
}

void TransmitterCommands::btnGetVembaCodeClick() {
  guard_.Run([this] { (void)operations_.IdentifyTransmitter(); });
}

void TransmitterCommands::btnReadFromDeviceClick() {
  guard_.Run([this] { ShowReadResult(operations_.Read(window_.Document().Context())); });
}

void TransmitterCommands::btnWriteToDeviceClick() {
  guard_.Run([this] { operations_.Write(CurrentWriteRequest()); });
}

void TransmitterCommands::SetStatusText(const QString& text) {
  window_.SetStatusText(text);
}

void TransmitterCommands::PendantCodeKnown(const QString& code) {
  window_.form.edtRadioCodeOld->setText(code);
}

void TransmitterCommands::Tell(const OperationMessage& message) {
  if (!ShowOperationMessageBox(dialogs_, BoxParent(&window_), message))
    SetStatusText(message.Text());
}

Answer TransmitterCommands::Ask(const OperationQuestion& question) {
  if (question.kind != OperationQuestion::Kind::FewMeasurements)
    return AskInBox(dialogs_, BoxParent(&window_), question);
  // Named as the window shows the fields.
  return window_.AskFewMeasurements(question.measurements) ? Answer::Yes : Answer::No;
}

std::optional<ImageBytes> TransmitterCommands::LastKnownImage(const QString& radioCode) {
  return LatestBackup(window_.DataFolder, radioCode);
}

std::optional<ImageBytes> TransmitterCommands::LastReadImage(const QString& radioCode) {
  return LatestBackup(window_.DataFolder, radioCode, BackupKind::Read);
}

void TransmitterCommands::StartPollTimer(int intervalMs) {
  window_.form.tmrPollOpuInfo->start(intervalMs);
}

void TransmitterCommands::StopPollTimer() {
  window_.form.tmrPollOpuInfo->stop();
}

WriteRequest TransmitterCommands::CurrentWriteRequest() const {
  const ConfigurationDocument& document = window_.Document();
  WriteRequest request;
  request.context = document.Context();
  request.untypedRefusal = document.UntypedRefusal();
  request.buildStatus = document.Build(request.image, OriginWrite);
  request.newCode = document.FieldText(Field::edtRadioCodeNew);
  return request;
}

void TransmitterCommands::ShowReadResult(const ReadResult& result) {
  if (result.jobRan) VembaData::ClearImage(window_.ReceivedImage, 0, OriginNone);
  if (!result.received) return;
  window_.ReceivedImage = result.image;
  // A configuration the codec could not show has been reported; it is shown as far as it goes.
  (void)window_.Document().Show(window_.ReceivedImage, OriginRead);
  window_.ImageSource = SourceTransmitter;
  window_.ReadTime = result.time;
  window_.UpdateTitle();
}
