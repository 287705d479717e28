#include "app/ProgramWindows.h"

#include "link/opu/OpuLink.h"

namespace {

// The About dialog asks the OPU through a link of its own, open only while it asks, on the port
// the main window's links use at that moment.
std::function<QString()> opuVersionReader(const TfrmMain& main) {
  return [&main] {
    OpuLink link(main.LinkOptions());
    (void)link.Open();
    QString version;
    const int result = link.ReadOpuVersion(version);
    link.Close();
    return result == 0 ? version : QString();
  };
}

}  // namespace

ProgramWindows::~ProgramWindows() {
  // The dialogs are the main window's children on screen; they go before it.
  frmAbout.reset();
  frmChangeCode.reset();
  frmSelectDirectory.reset();
  frmReceiveRadio.reset();
}

std::unique_ptr<ProgramWindows> CreateProgramWindows(const MainEnvironment& environment) {
  auto windows = std::make_unique<ProgramWindows>();
  windows->frmMain = std::make_unique<TfrmMain>(environment);
  TfrmMain* main = windows->frmMain.get();
  windows->frmReceiveRadio = std::make_unique<TfrmReceiveRadio>(main);
  windows->frmSelectDirectory = std::make_unique<TfrmSelectDirectory>(*environment.dialogs, main);
  windows->frmChangeCode = std::make_unique<TfrmChangeCode>(main->Operations(), main);
  windows->frmAbout = std::make_unique<TfrmAbout>(
      AboutSources{environment.startup.programFolder, CompiledProgramVersionInfo(),
                   opuVersionReader(*main)},
      main);
  main->AttachDialogs(MainDialogs{windows->frmReceiveRadio.get(), windows->frmSelectDirectory.get(),
                                  windows->frmChangeCode.get(), windows->frmAbout.get()});
  return windows;
}
