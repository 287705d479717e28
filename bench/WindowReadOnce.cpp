// One read through the real window against an OPU already on a port, as a whole process: the
// yardstick for the command line's read, timed from outside beside it (see README, benchmarks).
// Usage: ukova-window-read-once PORT; exit 0 when the read succeeded.

#include "app/MainTransmitter.h"
#include "bench/ProgramAgainstSimulator.h"
#include "image/Texts.h"

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ukova-window-read-once PORT\n");
    return 2;
  }
  UseOffscreenPlatformUnlessChosen();
  QApplication application(argc, argv);
  QTemporaryDir scratch;
  CountingDialogs dialogs;
  const auto windows = CreateProgramWindows(MainEnvironment{
      &dialogs,
      StartupEnvironment{
          WithTrailingSeparator(scratch.path()), QString(), QString(), {}, GetProgramVersion()},
      OpuLinkOptions{QString::fromLocal8Bit(argv[1]), {}}});
  windows->frmMain->Transmitter().btnReadFromDeviceClick();
  return windows->frmMain->StatusText() == Text(Msg::ReadFinished) ? 0 : 1;
}
