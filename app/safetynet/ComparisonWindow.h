#pragma once

#include "image/ImageComparison.h"

#include <QDialog>
#include <QString>

#include <vector>

class ConfigurationFiles;
class QLabel;
class QPushButton;
class QTableWidget;

// The comparison of the window's configuration with a file: every field with its caption and both
// values, the differing rows marked, and a line saying how many differ.
class TfrmComparison : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmComparison(QWidget* parent = nullptr);

  // Datei › Vergleichen mit…: the user chooses a file, starting in the backups of the radio code,
  // and the window shows it beside the configuration shown. Nothing is shown when the user
  // cancels or the file cannot be read (ConfigurationFiles says why).
  void CompareWithFile(ConfigurationFiles& files, const QString& radioCode);

  void ShowComparison(const std::vector<ComparedField>& rows, InactivityLimitModeKind limitMode,
                      const QString& fileName);
  // Whether a row is marked as differing.
  [[nodiscard]] bool IsRowMarked(int row) const;

  QLabel* lblSummary;
  QTableWidget* tblFields;
  QPushButton* btnClose;

  // The first column of a differing row carries this mark, besides its colour.
  static constexpr char16_t DifferenceMark = u'\u2260';
};
