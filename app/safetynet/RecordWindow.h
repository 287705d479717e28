#pragma once

#include "files/ProgrammingRecord.h"
#include "files/RecordChain.h"

#include <QDialog>
#include <QString>
#include <QTimer>

#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;
class RecordTableModel;
class UserDialogs;

// The programming record as a table, newest first, filterable by radio code, series, site and days.
// Its result is OK when the user chose a row's backup to open in the main window
// (SelectedBackupPath). The newest entries are shown at once; older ones follow while the window
// stays usable, so that a record of years of work never holds the window up. Then the chain of the
// lines read is checked; where it breaks the window says so, once in a warning and lasting above
// the table.
class TfrmRecord : public QDialog {
  Q_OBJECT

 public:
  TfrmRecord(UserDialogs& dialogs, QWidget* parent = nullptr);

  // Reads the record of this data folder, its newest part now and the rest in the background;
  // false, after saying why, when it cannot be read.
  [[nodiscard]] bool LoadRecord(const QString& dataFolder);
  // Older entries are still being read, or the chain checked.
  [[nodiscard]] bool IsLoading() const;
  // The full path of the backup of the selected row; empty when it has none.
  [[nodiscard]] QString SelectedBackupPath() const;
  // The text a cell shows: the time in local German form, the result with its message, a long
  // column cut short.
  [[nodiscard]] QString CellText(int row, int column) const;

  // Closing the window stops the reading.
  void done(int result) override;

 protected:
  // The columns share the width the table has.
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 public:
  // Any filter changed: the table shows the entries that pass them all.
  void FilterChange();
  void btnOpenBackupClick();
  // The entries shown, as a PDF report or a CSV file.
  void btnExportPdfClick();
  void btnExportCsvClick();

  QLabel* lblRadioCode;
  QComboBox* cbbxRadioCode;
  QLabel* lblSeries;
  QComboBox* cbbxSeries;
  QLabel* lblSite;
  QComboBox* cbbxSite;
  QLabel* lblFrom;
  QDateEdit* dteFrom;
  QLabel* lblTo;
  QDateEdit* dteTo;
  QLabel* lblCount;
  QLabel* lblChain;
  QTableView* tblRecord;
  QPushButton* btnExportPdf;
  QPushButton* btnExportCsv;
  QPushButton* btnOpenBackup;
  QPushButton* btnClose;

 private:
  void ReadOlderEntries();
  void AddChoices(const std::vector<RecordEntry>& entries);
  [[nodiscard]] RecordFilter ChosenFilter() const;
  void ShowCount();
  void ShowChainState();
  void EnableButtons();
  // Shows the columns some entry fills (the message with the result), each as wide as its
  // contents while they all fit; otherwise the widest share what is left, their texts elided.
  void FitColumns();
  void ExportSaved(const QString& path);
  [[nodiscard]] const RecordEntry* SelectedEntry() const;

  UserDialogs& dialogs_;
  QString dataFolder_;
  RecordTailReader reader_;
  RecordChainReader chain_;
  QTimer readTimer_;  // reads the next part between the user's events
  RecordTableModel* model_;
};
