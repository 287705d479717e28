#pragma once

#include "image/Messages.h"
#include "link/ModalResult.h"
#include "link/OperationFrontEnd.h"

#include <QString>

class OpuLink;

// Poll jobs of the poll timer.
enum PollTag : int { PollNothing = 0, PollListen = 100, PollWrite = 200, PollRead = 300 };

// Waiting for the transmitter's button: the waiting prompt runs while the poll timer asks the OPU
// how the radio exchange goes, and the poll ends the prompt with the outcome.
class JobWait {
 public:
  // The OPU is asked this often unless a test asks for less waiting.
  static constexpr int DefaultIntervalMs = 500;

  JobWait(OpuLink& link, QString& pollAnswer, PollTimer& pollTimer)
      : link_(link), pollAnswer_(pollAnswer), pollTimer_(pollTimer) {}

  void AttachPrompt(WaitingPrompt* prompt) { prompt_ = prompt; }
  [[nodiscard]] WaitingPrompt* Prompt() const { return prompt_; }
  void SetIntervalMs(int milliseconds) { intervalMs_ = milliseconds; }

  void StartPolling(PollTag tag);
  void StopPolling();
  // PollNothing while a failed operation is wound up: there is nothing left to ask the OPU.
  void SetPollTag(PollTag tag) { tag_ = tag; }

  // The prompt for the button press that identifies the transmitter; its result.
  [[nodiscard]] ModalResult WaitForListening();
  // The prompt for the second button press, which runs the job; its result.
  [[nodiscard]] ModalResult WaitForJob(Msg::Id titleText, Msg::Id actionText);

  // One tick of the poll timer.
  void PollOpuInfo();
  // One tick of the radio-code poll, which no operation starts: a transmitter's code ends the
  // prompt.
  void PollRadioCode();

 private:
  void CloseByStatus(int pollResult);

  OpuLink& link_;
  QString& pollAnswer_;
  PollTimer& pollTimer_;
  WaitingPrompt* prompt_ = nullptr;
  int intervalMs_ = DefaultIntervalMs;
  PollTag tag_ = PollNothing;
};
