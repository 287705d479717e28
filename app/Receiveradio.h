#pragma once

#include "link/OperationFrontEnd.h"
#include "ui/UserDialogs.h"

#include <QDialog>
#include <QString>

class QGroupBox;
class QLabel;
class QPushButton;
class QHideEvent;
class QShowEvent;

// The waiting dialog of every transmitter operation: it asks the user to press the transmitter's
// button while the main window's poll timer asks the OPU, and the timer closes it with the
// outcome. Results: mrOk, mrCancel, mrIgnore and mrLineLost from the timer, mrAbort from the user.
class TfrmReceiveRadio : public QDialog, public WaitingPrompt {
  Q_OBJECT

 public:
  explicit TfrmReceiveRadio(QWidget* parent = nullptr);

  void SetTitle(const QString& text) override;
  void SetGroupCaption(const QString& text) override;
  // The label keeps 58 % of the group's width, whatever the text.
  void SetActionText(const QString& text) override;
  [[nodiscard]] ModalResult Exec() override { return ModalResultOf(exec()); }
  void Close(ModalResult result) override { done(result); }
  [[nodiscard]] bool Waiting() const override { return isVisible(); }

  void FormShow();
  void btbtnAbortClick();

  // Escape and a close request from the desktop are the user's Abort: the operation waiting for
  // the dialog must never see a result it does not know.
  void reject() override;

  QGroupBox* gbxReceiveRadio;
  QLabel* imgTransmitter;
  QLabel* lblAction;
  QPushButton* btbtnAbort;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
};
