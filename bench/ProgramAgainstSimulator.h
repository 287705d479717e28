#pragma once

#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "files/DataFolders.h"
#include "files/ProgramVersion.h"
#include "files/SettingsStartup.h"
#include "link/opu/OpuLinkOptions.h"
#include "tools/opu-sim/OpuSimServer.h"
#include "tools/opu-sim/OpuSimulator.h"
#include "ui/UserDialogs.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

// A benchmark runs without a display unless the caller chose a platform (xcb under Xvfb).
inline void UseOffscreenPlatformUnlessChosen() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Message boxes a benchmark did not expect: counted and printed, answered with OK.
class CountingDialogs final : public UserDialogs {
 public:
  int shown = 0;
  ModalResult ShowMessage(QWidget*, BoxKind, const QString& text, BoxButtons) override {
    ++shown;
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
    return mrOk;
  }
  QString AskOpenFileName(QWidget*, const FileDialogRequest&) override { return {}; }
  QString AskSaveFileName(QWidget*, const FileDialogRequest&) override { return {}; }
  QString AskFolder(QWidget*, const QString&, const QString&) override { return {}; }
};

// The program's windows, started in a scratch folder, against the simulated OPU on a
// pseudo-terminal whose button is pressed at once. Needs the application object.
struct ProgramAgainstSimulator {
  OpuSimulator opu;
  OpuSimServer server{opu};
  QTemporaryDir scratch;
  CountingDialogs dialogs;
  std::unique_ptr<ProgramWindows> windows;
  QString tracePath;  // where the line is traced; none when empty

  // False when no pseudo-terminal could be had.
  [[nodiscard]] bool Start() {
    if (!server.Start()) {
      std::fprintf(stderr, "no pseudo-terminal\n");
      return false;
    }
    opu.SetButtonDelay(0);
    windows = CreateProgramWindows(MainEnvironment{
        &dialogs,
        StartupEnvironment{
            WithTrailingSeparator(scratch.path()), QString(), QString(), {}, GetProgramVersion()},
        OpuLinkOptions{server.PortPath(), tracePath}});
    return true;
  }
};
