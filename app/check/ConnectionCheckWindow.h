#pragma once

#include "link/ConnectionCheckSteps.h"

#include <array>
<<<<<<<< HEAD:app/check/ConnectionCheckWindow.h
========
#include <functional>
>>>>>>>> 556b88d (The transmitter operations take and return values and hold no widgets: a read returns the image and its code, a write takes the configuration built into an image with its new code, a code change takes the typed code; their questions and messages reach the front end as values (OperationQuestion, OperationMessage) that the window shows in boxes, the command line answers by its options and a series answers once before its first pendant. The waiting and radio-code dialogs and the connection check's window move to app/; the check's steps are one service for the window and the command line; the command line writes a file's bytes without passing them through the window's texts; link/ links no widget library and its tests run under a core application):link/ConnectionCheck.h

// The connection check's steps from the programming unit to the pendant, as the window and the
// command line both run them. Nothing is written to the pendant.

using CheckVerdicts = std::array<CheckVerdict, StepCount>;

<<<<<<<< HEAD:app/check/ConnectionCheckWindow.h
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
========
// How long the pendant's step waits for its button.
inline constexpr int CheckButtonWaitSeconds = 30;

// Steps 1 to 3 (the unit, its port, the OPU's answer), each after the one before passed; a step
// after a failed one is not run and says so. `starting` hears of each step before it blocks, so
// that a window can show it running. The link is closed at the end. The pendant's step is left
// not run.
[[nodiscard]] CheckVerdicts RunLinkSteps(ConnectionProbes& probes,
                                         const std::function<void(CheckStep)>& starting = {});
>>>>>>>> 556b88d (The transmitter operations take and return values and hold no widgets: a read returns the image and its code, a write takes the configuration built into an image with its new code, a code change takes the typed code; their questions and messages reach the front end as values (OperationQuestion, OperationMessage) that the window shows in boxes, the command line answers by its options and a series answers once before its first pendant. The waiting and radio-code dialogs and the connection check's window move to app/; the check's steps are one service for the window and the command line; the command line writes a file's bytes without passing them through the window's texts; link/ links no widget library and its tests run under a core application):link/ConnectionCheck.h
