#pragma once

#include "files/ConfigurationSheet.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QPrinter;
class QWidget;
class TfrmMain;
class UserDialogs;

// Datei › Drucken… and Datei › Als PDF speichern…: the configuration sheet of what the window
// shows now (files/ConfigurationSheet.h), every group and field as caption and value.
class SheetController : public QObject {
 public:
  // The menu entries go into the File menu before `before`.
  SheetController(TfrmMain& window, QMenu& fileMenu, QAction* before, UserDialogs& dialogs);

  [[nodiscard]] SheetContent ConfigurationSheet() const;
  // The configuration shown was read from the transmitter and the window changed since.
  [[nodiscard]] bool ChangedSinceRead() const;
  // Tests choose the printer without the print dialog.
  void SetPrinterChooser(std::function<bool(QPrinter&, QWidget*)> choose) {
    choosePrinter_ = std::move(choose);
  }

  QAction* mnuFilePrint;
  QAction* mnuFileSavePdf;

 private:
  void mnuFilePrintClick();
  void mnuFileSavePdfClick();

  TfrmMain& window_;
  UserDialogs& dialogs_;
  std::function<bool(QPrinter&, QWidget*)> choosePrinter_;
};
