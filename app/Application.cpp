#include "app/Application.h"

#include <QFont>

#include <exception>

#include "app/UserDialogs.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // Every window is laid out for the forms' 8-point font, the dialogs and message boxes too.
  QFont formFont = font();
  formFont.setPointSize(8);
  setFont(formFont);
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    if (dialogs_ != nullptr) dialogs_->ShowError(activeWindow(), QString::fromUtf8(error.what()));
  } catch (...) {
    // An exception of any other kind carries no message.
    if (dialogs_ != nullptr) dialogs_->ShowError(activeWindow(), QString());
  }
  return false;
}
