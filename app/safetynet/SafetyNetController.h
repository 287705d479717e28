#pragma once

#include "link/OperationRecord.h"

#include <QObject>

class ConfigurationFiles;
class QAction;
class QWidget;
class TfrmComparison;
class TfrmMain;
class TfrmRecord;
class TransmitterOperations;
class UserDialogs;

// The technician's safety net: every finished transmitter operation is kept in the programming
// record (files/ProgrammingRecord.h) with a backup of the image it read or sent; Datei ›
// Protokoll… and Datei › Vergleichen mit… show them; Kommunikation › Nach dem Schreiben prüfen
// has every write read back.
class SafetyNetController : public QObject, public OperationObserver {
 public:
  // Puts its entries into the window's menus and takes the verify choice from the settings, so
  // the window's settings must be read before.
  SafetyNetController(TfrmMain& window, ConfigurationFiles& files,
                      TransmitterOperations& operations, UserDialogs& dialogs);

  // Keeps a finished operation in the programming record and its image as a backup.
  void OperationFinished(const OperationOutcome& outcome) override;
  // The record over another window, to look at only: its backups open from Datei › Protokoll….
  void ShowRecord(QWidget* over);

  QAction* mnuFileRecord;
  QAction* mnuFileCompare;
  QAction* mnuCommVerifyAfterWrite;
  TfrmRecord* frmRecord = nullptr;
  TfrmComparison* frmComparison = nullptr;

 private:
  void mnuFileRecordClick();
  void mnuFileCompareClick();
  void mnuCommVerifyAfterWriteClick(bool checked);

  TfrmMain& window_;
  ConfigurationFiles& files_;
  TransmitterOperations& operations_;
  UserDialogs& dialogs_;
};
