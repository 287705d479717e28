#include "app/check/ConnectionCheckWindow.h"

#include "image/Texts.h"
#include "ui/FormHelpers.h"
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
      steps_(options, std::move(places)) {
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
  ShowAll();
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

void TfrmConnectionCheck::Show(Step step, const CheckVerdict& verdict) {
  verdicts_[step] = verdict;
  lblMark[step]->setText(MarkText(verdict.mark, lblMark[step]->palette()));
  lblExplanation[step]->setText(verdict.text);
}

void TfrmConnectionCheck::ShowAll() {
  const CheckVerdicts verdicts = verdicts_;
  for (int step = 0; step < StepCount; ++step) Show(Step(step), verdicts[step]);
}

void TfrmConnectionCheck::btnRunClick() {
  // The steps let the window repaint between them; they never start a second time inside.
  if (WaitingForButton() || stepsRunning_) return;
  stepsRunning_ = true;
  verdicts_ = {};
  ShowAll();
  verdicts_ = steps_.RunLinkSteps([this](CheckStep step, const CheckVerdict& verdict) {
    Show(step, verdict);
    // A running step is on the screen before it blocks.
    if (verdict.mark == Mark::Running)
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
  ShowAll();
  stepsRunning_ = false;
  SetButtonsIdle();
}

void TfrmConnectionCheck::btnTransmitterClick() {
  if (verdicts_[StepOpu].mark != Mark::Passed || WaitingForButton()) return;
  const bool listening = steps_.StartPendantStep(verdicts_);
  ShowAll();
  if (!listening) {
    SetButtonsIdle();
    return;
  }
  btnRun->setEnabled(false);
  btnTransmitter->setEnabled(false);
  tmrButton->start();
}

void TfrmConnectionCheck::tmrButtonTimer() {
  if (!steps_.PollPendantStep(verdicts_)) {
    lblExplanation[StepTransmitter]->setText(verdicts_[StepTransmitter].text);
    return;
  }
  EndButtonWait();
  Show(StepTransmitter, verdicts_[StepTransmitter]);
  SetButtonsIdle();
}

void TfrmConnectionCheck::EndButtonWait() {
  tmrButton->stop();
  steps_.EndPendantStep();
}

void TfrmConnectionCheck::SetButtonsIdle() {
  btnRun->setEnabled(true);
  btnTransmitter->setEnabled(verdicts_[StepOpu].mark == Mark::Passed);
}

void TfrmConnectionCheck::reject() {
  if (WaitingForButton()) {
    EndButtonWait();
    Show(StepTransmitter, {Mark::NotRun, Text(Msg::CheckClickTestPendant)});
    SetButtonsIdle();
  }
  QDialog::reject();
}
