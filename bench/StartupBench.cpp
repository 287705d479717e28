// The program's start as a whole process, timed from outside beside ukova-bare-start-bench: the
// same sequence as app/Entry.cpp, until the main window has been painted once, then the end.
// Usage: ukova-startup-bench [HOME] [--count]
//   Without HOME a fresh scratch home: a first start, which provisions the data folder and asks
//   for the technician's name. With HOME that folder is the home: from its second run on, a start
//   that finds everything in place. --count lists the main window's widgets by kind instead of
//   ending, the counts ukova-bare-start-bench builds.

#include "app/Application.h"
#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "app/copy/RunningCopy.h"
#include "app/copy/RunningCopyController.h"
#include "app/who/TechnicianController.h"
#include "bench/FirstPaint.h"
#include "bench/ProgramAgainstSimulator.h"
#include "link/opu/OpuLinkOptions.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <map>

namespace {

// Every folder the start looks up lies in the home, also the running copy's place, so that a run
// neither meets the user's own data nor a copy of the program the user has open.
void UseHome(const QString& home) {
  qputenv("HOME", home.toLocal8Bit());
  qputenv("XDG_RUNTIME_DIR", home.toLocal8Bit());
  for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) qunsetenv(name);
}

void PrintWidgetKinds(const QWidget& window) {
  std::map<QByteArray, int> kinds;
  for (const QWidget* widget : window.findChildren<QWidget*>())
    ++kinds[widget->metaObject()->className()];
  for (const auto& [kind, count] : kinds) std::printf("%s %d\n", kind.constData(), count);
}

}  // namespace

int main(int argc, char** argv) {
  bool count = false;
  const char* chosenHome = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--count") == 0)
      count = true;
    else
      chosenHome = argv[i];
  }
  UseOffscreenPlatformUnlessChosen();
  QTemporaryDir scratch;
  UseHome(chosenHome != nullptr ? QString::fromLocal8Bit(chosenHome) : scratch.path());

  auto place = ClaimRunningCopyPlace();
  Application application(argc, argv);
  CountingDialogs dialogs;
  application.SetDialogs(&dialogs);

  // The templates lie in the build folder, beside the program; no file and no OPU options.
  StartupEnvironment startup = SystemStartupEnvironment();
  startup.programFolder = QStringLiteral(UKOVA_BUILD_FOLDER "/");
  startup.arguments.clear();
  const auto windows = CreateProgramWindows(MainEnvironment{&dialogs, startup, OpuLinkOptions{}});
  if (count) {
    PrintWidgetKinds(*windows->frmMain);
    return 0;
  }
  EndAfterFirstPaint(*windows->frmMain);
  windows->frmMain->show();
  RunningCopyController runningCopy(*windows->frmMain, dialogs);
  if (place) {
    place->Listen([&runningCopy](const QByteArray& message) {
      runningCopy.Take(DecodeHandedStart(message));
    });
  }
  windows->frmMain->Technician().AskIfUnset();
  Application::exec();
  place.reset();
  return dialogs.shown == 0 ? 0 : 1;
}
