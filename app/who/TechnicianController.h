#pragma once

#include "link/OperationRecord.h"

#include <QDialog>
#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QWidget;
class UserDialogs;
class VembaIni;

// Datei › Einstellungen…: the technician's name. At a start that finds none kept it says why the
// name is asked.
class TfrmSettings : public QDialog {
 public:
  TfrmSettings(const QString& technician, bool firstAsk, QWidget* parent = nullptr);

  // The name as typed, on one line without blanks around it; empty for none.
  [[nodiscard]] QString Technician() const;

  QLineEdit* edtTechnician;
};

// The technician's name: kept in Values.ini, asked once at the start while none is kept, changed
// under Datei › Einstellungen…, shown at the right of the status bar, and written into every
// record line of this window, a series' lines included. The record's observer chain passes
// through here before the line is kept.
class TechnicianController : public QObject, public OperationObserver {
 public:
  // The entry goes into the File menu before `before`; finished operations go on to `next`.
  TechnicianController(QWidget& window, QMenu& fileMenu, QAction* before, QStatusBar& statusBar,
                       const VembaIni& settings, UserDialogs& dialogs, OperationObserver& next);

  [[nodiscard]] const QString& Name() const { return name_; }
  // Uses the name from now on and keeps it; false, after an error box, when the settings file
  // refused it (the name still holds for this run).
  bool SetName(const QString& name);
  // The start's question: opens the settings without waiting for them, the window blocked until
  // they close, when no name is kept. Abbruch leaves the lines without a name and asks again at
  // the next start.
  void AskIfUnset();

  // Stamps the outcome with the name and hands it on.
  void OperationFinished(const OperationOutcome& outcome) override;

  QAction* mnuFileSettings;
  QLabel* lblTechnician;
  // The settings while they are open; none otherwise.
  TfrmSettings* frmSettings = nullptr;

 private:
  void mnuFileSettingsClick();
  void OpenSettings(bool firstAsk);
  void ShowName();

  QWidget& window_;
  const VembaIni& settings_;
  UserDialogs& dialogs_;
  OperationObserver& next_;
  QString name_;
};
