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
// shows now (files/ConfigurationSheet.h), every group and field as caption and value, and at its
// foot for whom and by whom, as far as known, with lines to sign.
class SheetController : public QObject {
 public:
  // Site, resident and technician as far as known for the pendant with the radio code given.
  using RecipientSource = std::function<SheetRecipient(const QString& code)>;

  // The menu entries go into the File menu before `before`.
  SheetController(TfrmMain& window, QMenu& fileMenu, QAction* before, UserDialogs& dialogs,
                  RecipientSource recipientOf);

  [[nodiscard]] SheetContent ConfigurationSheet() const;
  // What became of the configuration read from the transmitter: changed in the window since, and
  // then written to it (the window shows what the pendant's newest backup holds).
  [[nodiscard]] SinceRead StateSinceRead() const;
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
  RecipientSource recipientOf_;
  std::function<bool(QPrinter&, QWidget*)> choosePrinter_;
};
