#include "link/ConnectionCheck.h"

#include "link/ConnectionVerdicts.h"
#include "ui/FormHelpers.h"
#include "image/Texts.h"
#include "ui/ThemeColours.h"

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

// A mark is a glyph in its colour and a word, so that it reads without colour too. The colour
// comes from the dialog's palette, so that it reads on a light and on a dark theme.
QString MarkText(TfrmConnectionCheck::Mark mark, const QPalette& palette) {
  using enum CheckMark;
  const auto [glyph, tint] = [mark] {
    switch (mark) {
      case Passed:
        return std::pair{u'\u2714', Tint::Passed};
      case Failed:
        return std::pair{u'\u2718', Tint::Failed};
      case Running:
        return std::pair{u'\u25B6', Tint::Running};
      case NotRun:
        break;
    }
    return std::pair{u'\u2013', Tint::Neutral};
  }();
  return QStringLiteral("<span style='color:%1'>%2</span> ")
             .arg(TintOnWindow(tint, palette).name(), QChar(glyph)) +
         Text(CheckMarkText(mark)).toHtmlEscaped();
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
    lblStep[step] = new QLabel(Text(CheckStepTitles[step]), this);
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
  lblMark[step]->setText(MarkText(mark, lblMark[step]->palette()));
  lblExplanation[step]->setText(explanation);
}

void TfrmConnectionCheck::Show(Step step, const CheckVerdict& verdict) {
  Show(step, verdict.mark, verdict.text);
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
  Show(StepUnit, PortSearchVerdict(search));
  if (search.Passed()) {
    ShowRunning(StepPort);
    const PortOpening opening = probes_.Open();
    Show(StepPort, PortOpeningVerdict(opening));
    if (opening.Opened()) {
      ShowRunning(StepOpu);
      Show(StepOpu, VersionVerdict(probes_.AskVersion()));
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

void TfrmConnectionCheck::btnTransmitterClick() {
  if (marks_[StepOpu] != Mark::Passed || WaitingForButton()) return;
  const PortOpening opening = probes_.Open();
  if (!opening.Opened()) {
    // The unit went away since the steps before: they show why.
    Show(StepPort, PortOpeningVerdict(opening));
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
  Show(StepTransmitter, ButtonVerdict(answer, ButtonWaitSeconds));
  SetButtonsIdle();
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
