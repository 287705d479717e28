#pragma once

#include "app/copy/HandedStart.h"

#include <QObject>

class TfrmMain;
class UserDialogs;

// The running copy's side of a later start: the window comes to the front, the start's file is
// opened as a dropped one, and what the start would have set up for a new copy is named as not
// taken. While a command runs, the start waits for its end.
class RunningCopyController : public QObject {
 public:
  RunningCopyController(TfrmMain& main, UserDialogs& dialogs);

  void Take(const HandedStart& start);

 private:
  void bringToFront();

  TfrmMain& main_;
  UserDialogs& dialogs_;
};
