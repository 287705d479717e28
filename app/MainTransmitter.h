#pragma once

#include "link/OperationFrontEnd.h"
#include "link/TransmitterOperations.h"

#include <QObject>

#include <memory>

class OperationGuard;
class TfrmMain;
class UserDialogs;

// The window's transmitter commands (the buttons and Kommunikation's read and write): each hands
// the window's configuration document to the transmitter operations and shows what they hand
// back; what they tell and ask is shown in boxes over the window, the dialog the user works in.
class TransmitterCommands final : public QObject,
                                  public OperationFrontEnd,
                                  public PendantHistory,
                                  public PollTimer {
 public:
  TransmitterCommands(TfrmMain& window, OperationGuard& guard, UserDialogs& dialogs);

  [[nodiscard]] TransmitterOperations& Operations() { return operations_; }

  void btnGetVembaCodeClick();
  void btnReadFromDeviceClick();
  void btnWriteToDeviceClick();

  // OperationFrontEnd
  void SetStatusText(const QString& text) override;
  void PendantCodeKnown(const QString& code) override;
  void Tell(const OperationMessage& message) override;
  [[nodiscard]] Answer Ask(const OperationQuestion& question) override;
  // PendantHistory: the pendant's backups in the data folder.
  [[nodiscard]] std::optional<ImageBytes> LastKnownImage(const QString& radioCode) override;
  [[nodiscard]] std::optional<ImageBytes> LastReadImage(const QString& radioCode) override;
  // PollTimer: the window's tmrPollOpuInfo.
  void StartPollTimer(int intervalMs) override;
  void StopPollTimer() override;

 private:
  // The window's configuration as a write takes it.
  [[nodiscard]] WriteRequest CurrentWriteRequest() const;
  void ShowReadResult(const ReadResult& result);

  TfrmMain& window_;
  OperationGuard& guard_;
  UserDialogs& dialogs_;
  TransmitterOperations operations_;
};
