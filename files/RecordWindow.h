#pragma once

#include "files/ProgrammingRecord.h"

#include <QDialog>
#include <QString>

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class UserDialogs;

// The programming record as a table, newest first, filterable by radio code. Its result is OK when
// the user chose a row's backup to open in the main window (SelectedBackupPath).
class TfrmRecord : public QDialog {
  Q_OBJECT

 public:
  TfrmRecord(UserDialogs& dialogs, QWidget* parent = nullptr);

  // Reads the record of this data folder; false, after saying why, when it cannot be read.
  [[nodiscard]] bool LoadRecord(const QString& dataFolder);
  // The full path of the backup of the selected row; empty when it has none.
  [[nodiscard]] QString SelectedBackupPath() const;

  void cbbxRadioCodeChange();
  void btnOpenBackupClick();

  QLabel* lblRadioCode;
  QComboBox* cbbxRadioCode;
  QLabel* lblCount;
  QTableWidget* tblRecord;
  QPushButton* btnOpenBackup;
  QPushButton* btnClose;

 private:
  void FillTable();
  void FillCodes();

  UserDialogs& dialogs_;
  QString dataFolder_;
  std::vector<RecordEntry> entries_;  // newest first
};
