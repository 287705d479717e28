#pragma once

#include "files/SettingsStartup.h"
#include "link/opu/OpuLinkOptions.h"

class UserDialogs;
class TfrmReceiveRadio;
class TfrmSelectDirectory;
class TfrmChangeCode;
class TfrmAbout;

// The dialogs the main window opens; they are created after it.
struct MainDialogs {
  TfrmReceiveRadio* frmReceiveRadio = nullptr;
  TfrmSelectDirectory* frmSelectDirectory = nullptr;
  TfrmChangeCode* frmChangeCode = nullptr;
  TfrmAbout* frmAbout = nullptr;
};

// What the main window needs from outside: the user's dialogs, the command line and the OPU's
// port.
struct MainEnvironment {
  UserDialogs* dialogs = nullptr;
  StartupEnvironment startup;    // the platform's folders and the command line
  OpuLinkOptions linkOptions{};  // every link of the program's windows uses these
};
