#include "link/JobWait.h"

#include "image/Texts.h"
#include "image/VembaData.h"
#include "link/opu/OpuLink.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace {

// Poll status values of a job.
constexpr int StatusDone = 3;
constexpr int StatusFailed = 4;
constexpr int StatusGaveUp = 5;

}  // namespace

void JobWait::StartPolling(PollTag tag) {
  SetPollTag(tag);
  pollTimer_.StartPollTimer(intervalMs_);
}

void JobWait::StopPolling() {
  pollTimer_.StopPollTimer();
}

ModalResult JobWait::WaitForListening() {
  prompt_->SetGroupCaption(Text(Msg::WaitingForPendant));
  prompt_->SetActionText(Text(Msg::PressButtonForCode));
  return prompt_->Exec();
}

ModalResult JobWait::WaitForJob(Msg::Id titleText, Msg::Id actionText) {
  prompt_->SetTitle(Text(titleText));
  prompt_->SetGroupCaption(Text(Msg::WaitingForPendant));
  prompt_->SetActionText(Text(actionText));
  // Lets the window repaint before the prompt comes up; a key or click the user gave meanwhile
  // waits until the operation has ended, so that nothing starts inside it.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return prompt_->Exec();
}

void JobWait::PollOpuInfo() {
  // A tick outside the prompt's wait would take an answer that nobody waits for.
  if (prompt_ == nullptr || !prompt_->Waiting()) return;
  switch (tag_) {
    case PollListen:
      (void)link_.PollListening(pollAnswer_);
      if (pollAnswer_ == QLatin1String(OpuLink::ListeningFailed)) {
        prompt_->Close(mrCancel);
      } else if (OpuLink::ListeningAnswerComplete(pollAnswer_)) {
        prompt_->Close(mrOk);
      }
      break;
    case PollWrite:
      CloseByStatus(link_.PollWriteStatus(pollAnswer_));
      break;
    case PollRead:
      CloseByStatus(link_.PollReadStatus(pollAnswer_));
      break;
    default:
      // A failed operation is being wound up: there is nothing left to ask the OPU.
      return;
  }
  // A pulled cable ends the wait at once; polling a dead line would go on until the user gave
  // up and then blame the user.
  if (link_.LineLost()) prompt_->Close(mrLineLost);
}

void JobWait::PollRadioCode() {
  if (prompt_ == nullptr || !prompt_->Waiting()) return;
  QString code;
  if (link_.ReadRadioCode(code) == OpuLink::Success && code != QStringLiteral("0000")) {
    prompt_->Close(mrOk);
  }
}

void JobWait::CloseByStatus(int pollResult) {
  if (pollResult != OpuLink::Success || pollAnswer_.size() != 2) return;
  switch (VembaData::HexPairValue(pollAnswer_.at(0), pollAnswer_.at(1))) {
    case StatusDone:
      prompt_->Close(mrOk);
      break;
    case StatusFailed:
      prompt_->Close(mrCancel);
      break;
    case StatusGaveUp:
      prompt_->Close(mrIgnore);
      break;
    default:
      break;  // the radio exchange is still going on
  }
}
