#pragma once

#include <QApplication>
#include <QTranslator>

class UserDialogs;

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
