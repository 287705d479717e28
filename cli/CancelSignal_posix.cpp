#include "cli/CancelSignal.h"

#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int /*signal*/) {
  interrupted = 1;
  // A second Ctrl+C ends the program the usual way.
  std::signal(SIGINT, SIG_DFL);
  const char byte = 1;
  (void)!::write(signalPipe[1], &byte, 1);
}

}  // namespace

CancelSignal::CancelSignal() {
  if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &CancelSignal::TakeSignal);
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, nullptr);
}

CancelSignal::~CancelSignal() {
  std::signal(SIGINT, SIG_DFL);
  notifier_.reset();
  for (int& end : signalPipe) {
    if (end >= 0) ::close(end);
    end = -1;
  }
}

bool CancelSignal::Requested() const {
  return interrupted != 0;
}

void CancelSignal::TakeSignal() {
  char bytes[16];
  while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
  }
  if (told_) return;
  told_ = true;
  emit Cancelled();
}
