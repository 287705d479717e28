#include "app/Application.h"

#include "ui/UserDialogs.h"

#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>

#include <exception>

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // The desktop matches the windows to the launcher by this name (the Wayland app id), and every
  // window shows the program's icon, also where no icon theme has it.
  setDesktopFileName(QStringLiteral(UKOVA_APP_ID));
  setWindowIcon(ProgramIcon());
  // Every window is laid out for the forms' 8-point font, the dialogs and message boxes too.
  QFont formFont = font();
  formFont.setPointSize(8);
  setFont(formFont);
  // The program speaks German whatever the desktop's language: Qt's own dialog texts (file
  // dialog columns, context menus) come from its German translation where it is installed.
  if (qtTexts_.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    installTranslator(&qtTexts_);
  }
}

QIcon ProgramIcon() {
  // The resources live in a static library, whose unreferenced objects the linker drops.
  Q_INIT_RESOURCE(icons);
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

bool DeliverShowingErrors(const std::function<bool()>& deliver, UserDialogs* dialogs,
                          QWidget* parent) {
  try {
    return deliver();
  } catch (const std::exception& error) {
    if (dialogs != nullptr) dialogs->ShowError(parent, QString::fromUtf8(error.what()));
  } catch (...) {
    // An exception of any other kind carries no message.
    if (dialogs != nullptr) dialogs->ShowError(parent, QString());
  }
  return false;
}

bool Application::notify(QObject* receiver, QEvent* event) {
  return DeliverShowingErrors([&] { return QApplication::notify(receiver, event); }, dialogs_,
                              activeWindow());
}
