// A soak: identify + read + write cycles in one process through the real window, waiting dialog
// and poll timer against the simulated OPU on a pseudo-terminal, with the poll interval
// shortened. Reports the heap in use (malloc statistics), the resident set and the open
// descriptors after a warm-up and at the end, and the heap growth per cycle.
// Usage: ukova-soak-bench [cycles=1000] [poll interval ms=10]
// SOAK_TRACE=FILE traces the line; SOAK_EXIT_NOW=1 ends without freeing anything, so that
// heaptrack reports what is still held after the cycles.

#include "app/Main.h"
#include "app/MainTransmitter.h"
#include "bench/ProgramAgainstSimulator.h"
#include "image/Texts.h"

#include <QApplication>
#include <QDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <malloc.h>
#include <unistd.h>

namespace {

constexpr int WarmUpCycles = 20;

// Every box is answered at once and counted: a cycle that shows one has failed.
struct Sample {
  long long heapBytes;
  long long residentKiB;
  int openDescriptors;
};

Sample Measure() {
  const struct mallinfo2 heap = mallinfo2();
  long pages = 0;
  long resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  // The listing itself holds one descriptor while it reads the folder.
  const int descriptors = static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                               .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                                               .size()) -
                          1;
  return {static_cast<long long>(heap.uordblks + heap.hblkhd),
          resident * sysconf(_SC_PAGESIZE) / 1024, descriptors};
}

// One identification, one read and one write; false when one of them did not succeed.
bool Cycle(TfrmMain& window, CountingDialogs& dialogs, OpuSimulator& opu) {
  opu.ClearCommands();  // the simulator's log is not the program's memory
  window.Transmitter().btnGetVembaCodeClick();
  if (window.Operations().CurrentRadioCode().isEmpty()) return false;
  window.Transmitter().btnReadFromDeviceClick();
  if (window.StatusText() != Text(Msg::ReadFinished)) return false;
  window.Transmitter().btnWriteToDeviceClick();
  return window.StatusText() == Text(Msg::ConfigurationUpdated) && dialogs.shown == 0;
}

void Print(const char* when, const Sample& sample) {
  std::printf("%-6s heap in use %lld B, resident %lld KiB, open descriptors %d\n", when,
              sample.heapBytes, sample.residentKiB, sample.openDescriptors);
}

}  // namespace

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int pollMs = argc > 2 ? std::atoi(argv[2]) : 10;
  UseOffscreenPlatformUnlessChosen();
  QApplication application(argc, argv);
  ProgramAgainstSimulator program;
  program.tracePath = qEnvironmentVariable("SOAK_TRACE");
  if (!program.Start()) return 1;
  OpuSimulator& opu = program.opu;
  CountingDialogs& dialogs = program.dialogs;
  const auto& windows = program.windows;
  TfrmMain& window = *windows->frmMain;
  window.Operations().SetPollIntervalMs(pollMs);
  dialogs.shown = 0;  // the scratch folder has no factory image; that is not the soak's

  // The first cycles fill the caches of Qt and the C library once.
  for (int cycle = 0; cycle < WarmUpCycles; ++cycle) {
    if (!Cycle(window, dialogs, opu)) {
      std::printf("warm-up cycle %d failed: %s\n", cycle + 1, qPrintable(window.StatusText()));
      return 1;
    }
  }
  const Sample start = Measure();
  const auto began = std::chrono::steady_clock::now();
  Sample half{};
  for (int cycle = 0; cycle < cycles; ++cycle) {
    if (!Cycle(window, dialogs, opu)) {
      std::printf("cycle %d failed: %s\n", cycle + 1, qPrintable(window.StatusText()));
      return 1;
    }
    if (cycle + 1 == cycles / 2) half = Measure();
  }
  const Sample end = Measure();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::printf(
      "%d identify + read + write cycles after %d to warm up, poll interval %d ms, "
      "%.1f ms per cycle\n",
      cycles, WarmUpCycles, pollMs, 1000.0 * seconds / cycles);
  Print("start", start);
  Print("half", half);
  Print("end", end);
  std::printf("heap growth %.1f B per cycle (second half %.1f B per cycle); descriptors %+d\n",
              static_cast<double>(end.heapBytes - start.heapBytes) / cycles,
              static_cast<double>(end.heapBytes - half.heapBytes) / (cycles - cycles / 2),
              end.openDescriptors - start.openDescriptors);
  // Under heaptrack, ending here shows what the cycles left behind as leaked.
  if (qEnvironmentVariableIsSet("SOAK_EXIT_NOW")) std::_Exit(0);
  return 0;
}
