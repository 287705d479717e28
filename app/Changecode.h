#pragma once

#include <QDialog>
#include <QString>

class FieldEdit;
class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;
class QHideEvent;
class QShowEvent;
class TransmitterOperations;

// The dialog in which the user gives a transmitter a new radio ID code. It stays open after
// every attempt, with the typed code, until the user closes it.
class TfrmChangeCode : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmChangeCode(TransmitterOperations& operations, QWidget* parent = nullptr);

  void FormCreate();
  void FormShow();
  void edtNewCodeKeyPress(QObject* sender, QChar& key);
  void btnOkClick();
  // The dialogue: check the code, identify the transmitter, confirm, re-code, report.
  void btnChangeClick();

  QFrame* pnlChangeIdCode;
  QLabel* lblNote;
  QLabel* lblNewCode;
  FieldEdit* edtNewCode;
  QFrame* pnlDelimiter;
  QPushButton* btnChange;
  QPushButton* btnOk;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  TransmitterOperations& operations_;
};
