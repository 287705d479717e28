#pragma once

#include "app/Changecode.h"
#include "app/Main.h"
#include "app/Receiveradio.h"
#include "app/about.h"
#include "app/folder/Selectfolder.h"

#include <memory>

// The program's windows, created once at start in this order and kept until the end.
struct ProgramWindows {
  std::unique_ptr<TfrmMain> frmMain;
  std::unique_ptr<TfrmReceiveRadio> frmReceiveRadio;
  std::unique_ptr<TfrmSelectDirectory> frmSelectDirectory;
  std::unique_ptr<TfrmChangeCode> frmChangeCode;
  std::unique_ptr<TfrmAbout> frmAbout;

  ~ProgramWindows();
};

// Creates the windows; creating the main window runs its whole start-up.
[[nodiscard]] std::unique_ptr<ProgramWindows> CreateProgramWindows(
    const MainEnvironment& environment);
