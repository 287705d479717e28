#pragma once

#include "files/ProgramVersion.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

// Where the About dialog gathers its content each time it is shown.
struct AboutSources {
  QString programFolder;  // with trailing separator; may hold about.ini
  std::optional<ProgramVersionInfo> versionInfo;
  // Opens the dialog's own OPU link, reads the unit's 11-character version and closes the link
  // again; empty when the OPU does not answer. May be empty when there is no link.
  std::function<QString()> readOpuVersion;
};

// Help > Info: the program, its version, the OPU's version and the maker's lines.
class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmAbout(AboutSources sources, QWidget* parent = nullptr);

  // Builds the whole content anew, so that every showing reports the present state.
  void FormShow();

  QPushButton* btnOK;
  QFrame* Panel1;
  QLabel* ProgramIcon;
  QGroupBox* GroupBox1;
  QPlainTextEdit* mmoInfo;
  QLabel* lblOpuVersion;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  [[nodiscard]] QStringList programLines() const;
  [[nodiscard]] QString opuLine() const;
  [[nodiscard]] QStringList makerLines() const;

  AboutSources sources;
};
