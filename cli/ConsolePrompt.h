#pragma once

#include "link/OperationFrontEnd.h"

#include <QString>

class CancelSignal;
class QEventLoop;

// The waiting prompt at the bench: prints the instruction, counts down the seconds the pendant's
// LED must stay dark before a second press, and waits in an event loop, so that the poll timer
// asks the OPU meanwhile. Ctrl+C is the user's Abort.
class ConsolePrompt final : public WaitingPrompt {
 public:
  static constexpr int LedDarkSeconds = 3;

  explicit ConsolePrompt(CancelSignal& cancel) : cancel_(cancel) {}

  void SetTitle(const QString& text) override { title_ = text; }
  void SetGroupCaption(const QString& /*text*/) override {}
  void SetActionText(const QString& text) override { action_ = text; }
  [[nodiscard]] ModalResult Exec() override;
  void Close(ModalResult result) override;
  [[nodiscard]] bool Waiting() const override { return loop_ != nullptr; }

 private:
  CancelSignal& cancel_;
  QString title_;
  QString action_;
  QEventLoop* loop_ = nullptr;
  ModalResult result_ = mrNone;
};
