#pragma once

#include "link/ConnectionCheckSteps.h"

#include <QDialog>
#include <QString>

#include <array>

class QLabel;
class QPushButton;
class QShowEvent;
class QTimer;

// Hilfe › Verbindung prüfen: runs the steps from the programming unit to the pendant one after
// another and shows each with its mark and one sentence of explanation and remedy. The first
// three run when the dialog opens and on "Erneut prüfen"; the pendant's button is waited for only
// on "Sender testen". Nothing is written, and the link is closed at the end of every path.
class TfrmConnectionCheck : public QDialog {
  Q_OBJECT

 public:
  using Step = CheckStep;
  using Mark = CheckMark;
  static constexpr Step StepUnit = ::StepUnit;
  static constexpr Step StepPort = ::StepPort;
  static constexpr Step StepOpu = ::StepOpu;
  static constexpr Step StepTransmitter = ::StepTransmitter;
  static constexpr int StepCount = ::StepCount;
  static constexpr int ButtonWaitSeconds = ConnectionCheckSteps::ButtonWaitSeconds;
  static constexpr int PollIntervalMs = 500;

  explicit TfrmConnectionCheck(const OpuLinkOptions& options, SerialPortPlaces places = {},
                               QWidget* parent = nullptr);
  ~TfrmConnectionCheck() override;

  // Steps 1 to 3.
  void btnRunClick();
  // Step 4: listens for the pendant's button for 30 s.
  void btnTransmitterClick();
  void tmrButtonTimer();
  // Escape, "Schließen" and the title bar end a running step cleanly.
  void reject() override;

  [[nodiscard]] Mark MarkOf(Step step) const { return verdicts_[step].mark; }
  [[nodiscard]] QString ExplanationOf(Step step) const;
  [[nodiscard]] bool LinkOpen() const { return steps_.LinkOpen(); }
  [[nodiscard]] bool WaitingForButton() const;
  // Tests wait less; the OPU is asked every 500 ms otherwise.
  void SetPollIntervalMs(int milliseconds);

  std::array<QLabel*, StepCount> lblMark{};
  std::array<QLabel*, StepCount> lblStep{};
  std::array<QLabel*, StepCount> lblExplanation{};
  QPushButton* btnRun;
  QPushButton* btnTransmitter;
  QPushButton* btnClose;
  QTimer* tmrButton;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Show(Step step, const CheckVerdict& verdict);
  // Every step as verdicts_ holds it.
  void ShowAll();
  void EndButtonWait();
  void SetButtonsIdle();

  ConnectionCheckSteps steps_;
  CheckVerdicts verdicts_{};
  bool stepsRunning_ = false;
};
