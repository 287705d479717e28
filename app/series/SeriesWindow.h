#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

// The series window: what to write, how many pendants, where their codes come from; while the
// series runs, the pendant in hand, the large pass/fail line and the counter; afterwards the
// summary. SeriesController binds it.
class TfrmSeries : public QDialog {
 public:
  explicit TfrmSeries(QWidget* parent = nullptr);

  QRadioButton* rbWindowConfiguration;
  QRadioButton* rbFileConfiguration;
  QLineEdit* edtConfigurationFile;
  QPushButton* btnChooseFile;
  QSpinBox* spnExpected;
  QRadioButton* rbKeepCodes;
  QRadioButton* rbSequence;
  QLineEdit* edtSequenceStart;
  QSpinBox* spnStep;
  QRadioButton* rbList;
  QTableWidget* tblList;
  QPushButton* btnListOpen;
  QPushButton* btnListSave;
  QPushButton* btnListAdd;
  QPushButton* btnListRemove;
  QLabel* lblNextEntry;
  QLabel* lblPendant;
  QLabel* lblResultLine;
  QLabel* lblCounter;
  QLabel* lblStatus;
  QTableWidget* tblUnits;
  QLabel* lblSummary;
  QPushButton* btnStart;
  QPushButton* btnStop;
  QPushButton* btnPrintSummary;
  QPushButton* btnSaveSummaryPdf;
  QPushButton* btnShowInRecord;
  QPushButton* btnClose;

  // The large line after each pendant, green when it passed, red when not; empty clears it.
  void ShowResultLine(const QString& text, bool passed);
  // The designed size where the screen has room for it, else the room; centred.
  void FitToScreen();
  // Moves `dialog` (the waiting prompt) over the pendants' table, below the large lines that name
  // the pendant in hand, which it would otherwise cover; within the screen.
  void PlaceBelowRunningLines(QWidget& dialog) const;
  // Every column but the last, which takes the rest, as wide as its texts.
  static void FitColumns(QTableWidget& table);
};
