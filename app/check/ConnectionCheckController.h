#pragma once

#include "link/opu/OpuLinkOptions.h"

#include <QObject>

#include <functional>

class OperationGuard;
class QAction;
class QMenu;
class QWidget;

// Hilfe › Verbindung prüfen…: checks step by step that the programming unit can be reached
// (ConnectionCheckWindow.h, its steps in link/ConnectionCheckSteps.h), through a link of its own.
class ConnectionCheckController : public QObject {
 public:
  // The menu entry goes into the Help menu before `before`; the check's window is the child of
  // `window` and checks the port `linkOptions` gives when it starts.
  ConnectionCheckController(QWidget& window, QMenu& helpMenu, QAction* before,
                            std::function<OpuLinkOptions()> linkOptions, OperationGuard& guard);

  QAction* mnuHelpConnectionCheck;

 private:
  void mnuHelpConnectionCheckClick();

  QWidget& window_;
  std::function<OpuLinkOptions()> linkOptions_;
  OperationGuard& guard_;
};
