#include "link/ConnectionCheck.h"

#include "image/ParameterImage.h"
#include "image/VembaData.h"
#include "ui/FormHelpers.h"
#include "ui/Texts.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int ExplanationWidth = 460;

constexpr Msg::Id StepTitles[] = {Msg::CheckStepAdapter, Msg::CheckStepPort, Msg::CheckStepOpu,
                                  Msg::CheckStepPendant};

// A mark is a glyph in its colour and a word, so that it reads without colour too.
QString MarkText(TfrmConnectionCheck::Mark mark) {
  switch (mark) {
    case TfrmConnectionCheck::Mark::Passed:
      return QStringLiteral("<span style='color:#1a7f37'>\u2714</span> ") + Text(Msg::CheckPassed);
    case TfrmConnectionCheck::Mark::Failed:
      return QStringLiteral("<span style='color:#c62828'>\u2718</span> ") + Text(Msg::CheckFailed);
    case TfrmConnectionCheck::Mark::Running:
      return QStringLiteral("<span style='color:#1565c0'>\u25B6</span> ") + Text(Msg::CheckRunning);
    case TfrmConnectionCheck::Mark::NotRun:
      break;
  }
  return QStringLiteral("<span style='color:#777777'>\u2013</span> ") + Text(Msg::CheckNotRun);
}

QString PortList(const std::vector<UsbSerialPort>& ports) {
  QStringList named;
  for (const UsbSerialPort& port : ports) {
    named << (port.product.isEmpty()
                  ? FormatText(Msg::CheckPortWithoutName, {port.device})
                  : FormatText(Msg::CheckPortWithName, {port.device, port.product}));
  }
  return named.join(QStringLiteral(", "));
}

Msg::Id NoPermissionText(const PortOpening& opening) {
  if (!opening.groupMayOpen) return Msg::CheckInstallDeviceRule;
  switch (opening.membership) {
    case GroupMembership::NotMember:
      return Msg::CheckJoinGroup;
    case GroupMembership::AfterNextLogin:
      return Msg::CheckLogInAgain;
    case GroupMembership::InSession:
      return Msg::CheckAskAdministrator;
    case GroupMembership::Unknown:
      break;
  }
  return Msg::CheckInstallDeviceRule;
}

}  // namespace

TfrmConnectionCheck::TfrmConnectionCheck(const OpuLinkOptions& options, SerialPortPlaces places,
                                         QWidget* parent)
    : QDialog(parent),
      btnRun(named(new QPushButton(Text(Msg::CheckAgainButton), this), "btnRun")),
      btnTransmitter(
          named(new QPushButton(Text(Msg::CheckTestPendantButton), this), "btnTransmitter")),
      btnClose(named(new QPushButton(Text(Msg::ButtonClose), this), "btnClose")),
      tmrButton(named(new QTimer(this), "tmrButton")),
      probes_(options, std::move(places)) {
  setObjectName(QStringLiteral("frmConnectionCheck"));
  setWindowTitle(Text(Msg::CheckTitle));
  auto* steps = new QGridLayout;
  steps->setHorizontalSpacing(12);
  steps->setVerticalSpacing(4);
  for (int step = 0; step < StepCount; ++step) {
    lblMark[step] = new QLabel(this);
    lblMark[step]->setTextFormat(Qt::RichText);
    lblStep[step] = new QLabel(Text(StepTitles[step]), this);
    QFont bold = lblStep[step]->font();
    bold.setBold(true);
    lblStep[step]->setFont(bold);
    lblExplanation[step] = new QLabel(this);
    lblExplanation[step]->setWordWrap(true);
    lblExplanation[step]->setFixedWidth(ExplanationWidth);
    lblExplanation[step]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblExplanation[step]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    steps->addWidget(lblStep[step], 3 * step, 0);
    steps->addWidget(lblMark[step], 3 * step, 1, Qt::AlignRight);
    steps->addWidget(lblExplanation[step], 3 * step + 1, 0, 1, 2);
    steps->setRowMinimumHeight(3 * step + 2, 10);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnRun);
  buttons->addWidget(btnTransmitter);
  buttons->addStretch();
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(steps);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  btnClose->setDefault(true);
  connect(btnRun, &QPushButton::clicked, this, &TfrmConnectionCheck::btnRunClick);
  connect(btnTransmitter, &QPushButton::clicked, this, &TfrmConnectionCheck::btnTransmitterClick);
  connect(btnClose, &QPushButton::clicked, this, &TfrmConnectionCheck::reject);
  tmrButton->setInterval(PollIntervalMs);
  connect(tmrButton, &QTimer::timeout, this, &TfrmConnectionCheck::tmrButtonTimer);
  for (int step = 0; step < StepCount; ++step) Show(Step(step), Mark::NotRun, {});
  SetButtonsIdle();
}

TfrmConnectionCheck::~TfrmConnectionCheck() {
  EndButtonWait();
}

void TfrmConnectionCheck::SetPollIntervalMs(int milliseconds) {
  tmrButton->setInterval(milliseconds);
}

bool TfrmConnectionCheck::WaitingForButton() const {
  return tmrButton->isActive();
}

QString TfrmConnectionCheck::ExplanationOf(Step step) const {
  return lblExplanation[step]->text();
}

void TfrmConnectionCheck::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  CentreOnOwner(*this);
  // The steps run once the dialog is on the screen, so that the user sees them run.
  QTimer::singleShot(0, this, &TfrmConnectionCheck::btnRunClick);
}

void TfrmConnectionCheck::Show(Step step, Mark mark, const QString& explanation) {
  marks_[step] = mark;
  lblMark[step]->setText(MarkText(mark));
  lblExplanation[step]->setText(explanation);
}

void TfrmConnectionCheck::ShowRunning(Step step) {
  Show(step, Mark::Running, {});
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmConnectionCheck::btnRunClick() {
  // The steps let the window repaint between them; they never start a second time inside.
  if (WaitingForButton() || stepsRunning_) return;
  stepsRunning_ = true;
  for (int step = 0; step < StepCount; ++step) Show(Step(step), Mark::NotRun, {});
  ShowRunning(StepUnit);
  const PortSearch search = probes_.FindPorts();
  ShowPortSearch(search);
  if (search.Passed()) {
    ShowRunning(StepPort);
    const PortOpening opening = probes_.Open();
    ShowPortOpening(opening);
    if (opening.Opened()) {
      ShowRunning(StepOpu);
      ShowVersion(probes_.AskVersion());
    }
  }
  probes_.Finish();
  for (int step = StepPort; step < StepTransmitter; ++step) {
    if (marks_[step - 1] != Mark::Passed) {
      ShowNotReached(Step(step));
      break;
    }
  }
  Show(StepTransmitter, Mark::NotRun,
       Text(marks_[StepOpu] == Mark::Passed ? Msg::CheckClickTestPendant
                                            : Msg::CheckNeedsEarlierSteps));
  stepsRunning_ = false;
  SetButtonsIdle();
}

void TfrmConnectionCheck::ShowNotReached(Step from) {
  for (int step = from; step < StepTransmitter; ++step)
    Show(Step(step), Mark::NotRun, Text(Msg::CheckSkippedAfterFailure));
}

void TfrmConnectionCheck::ShowPortSearch(const PortSearch& search) {
  if (!search.namedPort.isEmpty()) {
    if (search.Passed()) {
      Show(StepUnit, Mark::Passed, FormatText(Msg::CheckNamedPortPresent, {search.namedPort}));
    } else {
      Show(StepUnit, Mark::Failed, FormatText(Msg::CheckNamedPortMissing, {search.namedPort}));
    }
  } else if (search.Passed()) {
    Show(StepUnit, Mark::Passed,
         FormatText(Msg::CheckAdapterFound, {search.opuPorts.join(QStringLiteral(", "))}));
  } else if (search.usbPorts.empty()) {
    Show(StepUnit, Mark::Failed, Text(Msg::CheckNoUsbPort));
  } else {
    Show(StepUnit, Mark::Failed,
         FormatText(Msg::CheckNoPortWithName,
                    {QString::fromLatin1(OpuLink::Description), PortList(search.usbPorts)}));
  }
}

void TfrmConnectionCheck::ShowPortOpening(const PortOpening& opening) {
  const QString& port = opening.port;
  switch (opening.failure.kind) {
    case OpenFailure::None:
      Show(StepPort, Mark::Passed, FormatText(Msg::CheckPortOpened, {port}));
      return;
    case OpenFailure::NoPermission: {
      const QString& group = opening.failure.group;
      Show(StepPort, Mark::Failed, FormatText(NoPermissionText(opening), {port, group, group}));
      return;
    }
    case OpenFailure::Busy:
      Show(
          StepPort, Mark::Failed,
          opening.holders.isEmpty()
              ? FormatText(Msg::PortBusy, {port}) + QLatin1Char(' ') +
                    Text(Msg::CheckAgainAfterwards)
              : FormatText(Msg::PortBusy, {port}) + QLatin1Char(' ') +
                    FormatText(Msg::CheckPortHeldBy, {opening.holders.join(QStringLiteral(", "))}));
      return;
    case OpenFailure::NotFound:
      Show(StepPort, Mark::Failed, FormatText(Msg::CheckPortGone, {port}));
      return;
    case OpenFailure::Other:
      break;
  }
  Show(StepPort, Mark::Failed,
       FormatText(Msg::PortNotOpened, {port}) + QLatin1Char(' ') +
           FormatText(Msg::CheckPortFailedReason, {opening.systemText}));
}

void TfrmConnectionCheck::ShowVersion(const VersionAnswer& answer) {
  const QString required = QString::fromLatin1(OpuLink::RequiredVersion);
  if (!answer.answered) {
    Show(StepOpu, Mark::Failed, Text(Msg::CheckOpuSilent));
  } else if (!answer.newEnough) {
    Show(StepOpu, Mark::Failed, FormatText(Msg::CheckOpuTooOld, {answer.version, required}));
  } else {
    Show(StepOpu, Mark::Passed, FormatText(Msg::CheckOpuVersionFine, {answer.version, required}));
  }
}

void TfrmConnectionCheck::btnTransmitterClick() {
  if (marks_[StepOpu] != Mark::Passed || WaitingForButton()) return;
  const PortOpening opening = probes_.Open();
  if (!opening.Opened()) {
    // The unit went away since the steps before: they show why.
    ShowPortOpening(opening);
    ShowNotReached(StepOpu);
    Show(StepTransmitter, Mark::NotRun, Text(Msg::CheckNeedsEarlierSteps));
    SetButtonsIdle();
    return;
  }
  if (!probes_.StartListening()) {
    probes_.Finish();
    Show(StepTransmitter, Mark::Failed, Text(Msg::CheckOpuStoppedWaiting));
    return;
  }
  buttonDeadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(ButtonWaitSeconds);
  Show(StepTransmitter, Mark::Running,
       FormatText(Msg::CheckPressButtonNow, {QString::number(ButtonWaitSeconds)}));
  btnRun->setEnabled(false);
  btnTransmitter->setEnabled(false);
  tmrButton->start();
}

void TfrmConnectionCheck::tmrButtonTimer() {
  const ButtonAnswer answer = probes_.PollButton();
  const auto left =
      std::chrono::ceil<std::chrono::seconds>(buttonDeadline_ - std::chrono::steady_clock::now());
  if (answer.state == ButtonAnswer::Waiting && left.count() > 0) {
    lblExplanation[StepTransmitter]->setText(
        FormatText(Msg::CheckPressButtonNow, {QString::number(left.count())}));
    return;
  }
  EndButtonWait();
  ShowButton(answer);
  SetButtonsIdle();
}

void TfrmConnectionCheck::ShowButton(const ButtonAnswer& answer) {
  switch (answer.state) {
    case ButtonAnswer::Heard:
      if (answer.productType == VembaData::ByteToHex(ThisProductType)) {
        Show(StepTransmitter, Mark::Passed,
             FormatText(Msg::CheckPendantHeard, {answer.radioCode, answer.productType}));
      } else {
        Show(StepTransmitter, Mark::Failed,
             FormatText(Msg::CheckOtherProductType, {answer.radioCode, answer.productType}));
      }
      return;
    case ButtonAnswer::ListeningFailed:
      Show(StepTransmitter, Mark::Failed, Text(Msg::CheckOpuStoppedWaiting));
      return;
    case ButtonAnswer::LineLost:
      Show(StepTransmitter, Mark::Failed, Text(Msg::CheckLineBroken));
      return;
    case ButtonAnswer::Waiting:
      break;
  }
  Show(StepTransmitter, Mark::Failed,
       FormatText(Msg::CheckNoPendantHeard, {QString::number(ButtonWaitSeconds)}));
}

void TfrmConnectionCheck::EndButtonWait() {
  tmrButton->stop();
  probes_.Finish();
}

void TfrmConnectionCheck::SetButtonsIdle() {
  btnRun->setEnabled(true);
  btnTransmitter->setEnabled(marks_[StepOpu] == Mark::Passed);
}

void TfrmConnectionCheck::reject() {
  if (WaitingForButton()) {
    EndButtonWait();
    Show(StepTransmitter, Mark::NotRun, Text(Msg::CheckClickTestPendant));
    SetButtonsIdle();
  }
  QDialog::reject();
}
