// A whole read from the transmitter through the real window, waiting dialog and poll timer,
// against the simulated OPU on a pseudo-terminal, with the program's 500 ms poll interval:
// - wall time of identification plus read with the button pressed at once, as a ratio to the
//   floor of two poll intervals (one tick for the code, one for the job), median of 5;
// - CPU the whole process spends while the waiting dialog waits 10 s for the button.

#include "app/Main.h"
#include "app/MainTransmitter.h"
#include "app/Receiveradio.h"
#include "bench/ProgramAgainstSimulator.h"
#include "image/Texts.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Runs = 5;
constexpr double FloorSeconds = 2 * TransmitterOperations::PollIntervalMs / 1000.0;
constexpr int WaitMs = 10000;

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Every box is answered at once and counted: a read that shows one has failed.
bool ReadSucceeded(TfrmMain& window, const CountingDialogs& dialogs) {
  return dialogs.shown == 0 && window.StatusText() == Text(Msg::ReadFinished);
}

void ReadTime(TfrmMain& window, CountingDialogs& dialogs) {
  std::vector<double> seconds;
  for (int run = 0; run < Runs; ++run) {
    const auto before = Clock::now();
    window.Transmitter().btnReadFromDeviceClick();
    seconds.push_back(std::chrono::duration<double>(Clock::now() - before).count());
    if (!ReadSucceeded(window, dialogs)) {
      std::printf("read %d failed: %s\n", run + 1, qPrintable(window.StatusText()));
      return;
    }
  }
  std::sort(seconds.begin(), seconds.end());
  const double median = seconds[Runs / 2];
  std::printf(
      "identification + read, button at once: median %.3f s of %d (min %.3f, max %.3f);"
      " floor %.1f s; ratio %.3f\n",
      median, Runs, seconds.front(), seconds.back(), FloorSeconds, median / FloorSeconds);
}

void CpuWhileWaiting(TfrmMain& window, TfrmReceiveRadio& waiting, OpuSimulator& opu) {
  opu.SetButtonDelay(OpuSimulator::ManualButton);
  double cpuAtShow = -1;
  Clock::time_point shownAt;
  double cpu = 0;
  double wall = 0;
  QTimer watcher;
  watcher.setInterval(5);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (!waiting.isVisible() || waiting.lblAction->text() != Text(Msg::PressButtonForCode)) return;
    if (cpuAtShow < 0) {
      cpuAtShow = ProcessCpuSeconds();
      shownAt = Clock::now();
    } else if (Clock::now() - shownAt >= std::chrono::milliseconds(WaitMs)) {
      cpu = ProcessCpuSeconds() - cpuAtShow;
      wall = std::chrono::duration<double>(Clock::now() - shownAt).count();
      opu.SetButtonDelay(0);
      opu.PressButton();
      watcher.stop();
    }
  });
  watcher.start();
  window.Transmitter().btnReadFromDeviceClick();
  std::printf("waiting dialog up %.2f s for the button: %.3f CPU seconds, %.2f %% of one core\n",
              wall, cpu, wall > 0 ? 100.0 * cpu / wall : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  UseOffscreenPlatformUnlessChosen();
  QApplication application(argc, argv);
  ProgramAgainstSimulator program;
  if (!program.Start()) return 1;
  OpuSimulator& opu = program.opu;
  CountingDialogs& dialogs = program.dialogs;
  const auto& windows = program.windows;
  dialogs.shown = 0;  // the scratch folder has no factory image; that is not the read's
  ReadTime(*windows->frmMain, dialogs);
  CpuWhileWaiting(*windows->frmMain, *windows->frmReceiveRadio, opu);
  return 0;
}
