#include "app/Application.h"
#include "app/Main.h"
#include "app/UserDialogs.h"

int main(int argc, char** argv) {
  // The resources live in the static core library, whose unreferenced objects the linker drops.
  Q_INIT_RESOURCE(resources);
  Application application(argc, argv);
  QtUserDialogs dialogs;
  application.SetDialogs(&dialogs);

  TfrmMain frmMain(MainEnvironment{&dialogs, SystemStartupEnvironment()});
  frmMain.show();
  Application::exec();
  return 0;
}
