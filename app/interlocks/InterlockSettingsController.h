#pragma once

#include "image/ImageCodec.h"

#include <QObject>

#include <map>
#include <set>

class QAction;
class QMenu;
class TransmitterOperations;
class UserDialogs;
class VembaIni;
class QWidget;

// Kommunikation › Rückfragen vor dem Schreiben, in service mode only: one entry per guarded field
// (image/WriteReview.h); a cleared entry lets a write switch that alarm off without asking. The
// choice is kept in Values.ini, and only a service-mode start reads it: a normal start always
// asks.
class InterlockSettingsController : public QObject {
 public:
  // The submenu goes into the Communication menu before `before`.
  InterlockSettingsController(QWidget& window, QMenu& commMenu, QAction* before,
                              const VembaIni& settings, TransmitterOperations& operations,
                              UserDialogs& dialogs, InactivityLimitModeKind limitMode);

  QMenu* mnuCommInterlocks;
  std::map<Field, QAction*> entries;

 private:
  void entryToggled();
  [[nodiscard]] std::set<Field> silenced() const;

  QWidget& window_;
  const VembaIni& settings_;
  TransmitterOperations& operations_;
  UserDialogs& dialogs_;
};
