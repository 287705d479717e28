#include "app/Application.h"
#include "app/Main.h"
#include "app/UserDialogs.h"

int main(int argc, char** argv) {
  // The resources live in the static core library, whose unreferenced objects the linker drops.
  Q_INIT_RESOURCE(resources);
  Application application(argc, argv);
  QtUserDialogs dialogs;
  application.SetDialogs(&dialogs);

  QStringList arguments = QCoreApplication::arguments();
  arguments.removeFirst();

  // Until the folders are set up from the settings, the program folder holds the factory image.
  TfrmMain frmMain(MainEnvironment{.dialogs = &dialogs,
                                   .arguments = arguments,
                                   .dataFolder = QCoreApplication::applicationDirPath() + u'/',
                                   .defaultFolder = QString()});
  frmMain.show();
  Application::exec();
  return 0;
}
