#pragma once

#include <QApplication>
#include <QIcon>
#include <QTranslator>

#include <functional>

class UserDialogs;

// The program's own icon in every size it is drawn in.
[[nodiscard]] QIcon ProgramIcon();

// Runs one event delivery. An exception that escapes it is shown in an error box with its
// message (an empty one when it is not a standard exception), and the program goes on.
bool DeliverShowingErrors(const std::function<bool()>& deliver, UserDialogs* dialogs,
                          QWidget* parent);

// The application object. An exception that escapes an event handler is shown in an error box
// with its message, and the program goes on.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv);

  void SetDialogs(UserDialogs* dialogs) { dialogs_ = dialogs; }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  UserDialogs* dialogs_ = nullptr;
  QTranslator qtTexts_;
};
