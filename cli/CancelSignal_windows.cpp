#include "cli/CancelSignal.h"

#include <QSocketNotifier>
#include <QTimer>

#include <atomic>

#include <windows.h>

namespace {

std::atomic<bool> interrupted{false};

// Windows calls the handler on a thread of its own: it only sets the flag, which the event loop
// looks at. A second Ctrl+C is left to the system's handler, which ends the program.
BOOL WINAPI OnConsoleControl(DWORD type) {
  if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
  if (interrupted.exchange(true)) return FALSE;
  return TRUE;
}

constexpr int LookIntervalMs = 100;

}  // namespace

CancelSignal::CancelSignal() {
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  auto* look = new QTimer(this);
  connect(look, &QTimer::timeout, this, [this] {
    if (Requested()) TakeSignal();
  });
  look->start(LookIntervalMs);
}

CancelSignal::~CancelSignal() {
  ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
}

bool CancelSignal::Requested() const {
  return interrupted.load();
}

void CancelSignal::TakeSignal() {
  if (told_) return;
  told_ = true;
  emit Cancelled();
}
