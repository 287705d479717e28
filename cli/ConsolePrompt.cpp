#include "cli/ConsolePrompt.h"

#include "cli/CancelSignal.h"
#include "cli/CliOutput.h"
#include "image/Texts.h"

#include <QEventLoop>
#include <QTimer>

ModalResult ConsolePrompt::Exec() {
  if (cancel_.Requested()) return mrAbort;
  PrintNotice(title_.isEmpty() ? action_ : title_ + QStringLiteral(": ") + action_);
  QEventLoop loop;
  loop_ = &loop;
  result_ = mrNone;
  const auto cancelled =
      QObject::connect(&cancel_, &CancelSignal::Cancelled, &loop, [this] { Close(mrAbort); });
  // The first press identifies the pendant; every later one needs the LED dark for a while.
  int secondsLeft = action_ == Text(Msg::PressButtonForCode) ? 0 : LedDarkSeconds;
  QTimer countdown;
  countdown.setInterval(1000);
  const auto tell = [&] {
    if (secondsLeft == 0) {
      countdown.stop();
      PrintNotice(Text(Msg::CliPressNow));
      return;
    }
    PrintNotice(FormatText(Msg::CliLedCountdown, {QString::number(secondsLeft)}));
    --secondsLeft;
  };
  QObject::connect(&countdown, &QTimer::timeout, &loop, tell);
  tell();
  if (secondsLeft > 0) countdown.start();
  loop.exec();
  QObject::disconnect(cancelled);
  loop_ = nullptr;
  return result_;
}

void ConsolePrompt::Close(ModalResult result) {
  if (loop_ == nullptr) return;
  result_ = result;
  loop_->quit();
}
