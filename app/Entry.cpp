#include "app/Application.h"
#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "link/opu/OpuLinkOptions.h"
#include "ui/UserDialogs.h"

int main(int argc, char** argv) {
  Application application(argc, argv);
  QtUserDialogs dialogs;
  application.SetDialogs(&dialogs);

  SetOpuLinkOptions(ParseOpuLinkOptions(QCoreApplication::arguments().mid(1)));

  // The OPU options are the link's own; the folder, file and service passes do not see them.
  StartupEnvironment startup = SystemStartupEnvironment();
  startup.arguments.removeIf(IsOpuLinkOption);
  const auto windows = CreateProgramWindows(MainEnvironment{&dialogs, startup});
  windows->frmMain->show();
  Application::exec();
  return 0;
}
