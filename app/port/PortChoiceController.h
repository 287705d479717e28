#pragma once

#include "link/opu/OpuLinkOptions.h"
#include "link/opu/PortDriver.h"

#include <QDialog>
#include <QObject>
#include <QString>

#include <vector>

class OpuLink;
class OperationGuard;
class QAction;
class QComboBox;
class QMenu;
class QWidget;
class UserDialogs;
class VembaIni;

// The choice of the OPU's port: "automatisch (nach USB-Name)" first, then every serial port on a
// USB adapter with its USB name, and a chosen port that is not plugged in now, marked so.
class TfrmPortChoice : public QDialog {
 public:
  TfrmPortChoice(const std::vector<UsbSerialPort>& ports, const QString& chosenPort,
                 const QString& commandLinePort, QWidget* parent = nullptr);

  // The port chosen; empty for the search by USB name.
  [[nodiscard]] QString ChosenPort() const;

  QComboBox* cbbxPort;
};

// Kommunikation › Programmiergerät wählen…: the port every link of the program uses (the
// transmitter operations, the connection check, the About dialog's question), kept in Values.ini.
// A port named on the command line wins for that run and leaves the kept choice alone.
class PortChoiceController : public QObject {
 public:
  PortChoiceController(QWidget& window, QMenu& commMenu, QAction* before, const VembaIni& settings,
                       const OpuLinkOptions& commandLine, OpuLink& link, UserDialogs& dialogs,
                       OperationGuard& guard);

  // What every link opened from now on uses.
  [[nodiscard]] OpuLinkOptions LinkOptions() const;
  // Keeps the choice (empty: by USB name) and puts it in force unless the command line named a
  // port; false, after an error box, when the settings file refused it.
  bool ChoosePort(const QString& port);

  QAction* mnuCommChoosePort;

 private:
  void mnuCommChoosePortClick();
  [[nodiscard]] QString KeptPort() const;

  QWidget& window_;
  const VembaIni& settings_;
  OpuLinkOptions commandLine_;
  OpuLink& link_;
  UserDialogs& dialogs_;
  OperationGuard& guard_;
  QString portInForce_;
};
