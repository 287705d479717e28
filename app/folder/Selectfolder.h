#pragma once

#include "ui/UserDialogs.h"

#include <QDialog>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;
class VembaIni;

// The dialog in which the user chooses the default folder for configuration files.
class TfrmSelectDirectory : public QDialog {
  Q_OBJECT

 public:
  // `owner` is the main window the dialog is centred on.
  TfrmSelectDirectory(UserDialogs& dialogs, QWidget* owner = nullptr);

  // The folder in the edit, without trailing separator.
  void SetFolder(const QString& folder);
  [[nodiscard]] QString GetFolder() const;

  // Modal result: mrOk or mrCancel.
  [[nodiscard]] ModalResult ShowModal();

  void FormCreate();
  void FormShow();
  void btnBrowseClick();

  QGroupBox* gbxSelectDirectory;
  QLabel* lblDirectoryInfo;
  QLineEdit* edtActiveConfigDirectory;
  QPushButton* btnBrowse;
  QPushButton* btnOK;
  QPushButton* btnCancel;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  UserDialogs& userDialogs;
};

// File > default folder: shows the dialog with the current default folder and, when the user
// confirms, takes the folder and stores it in the settings. False when the user cancelled.
// The folder is taken before it is stored, so a refused write (IniWriteError, which propagates)
// still changes the folder for this run.
bool SelectDefaultFolder(TfrmSelectDirectory& dialog, QString& defaultFolder, VembaIni& settings);
