#pragma once

#include "link/opu/OpuLink.h"
#include "link/opu/OpuLinkOptions.h"
#include "tools/opu-sim/OpuSimServer.h"
#include "tools/opu-sim/OpuSimulator.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// A simulated OPU with one transmitter, served in the test's process on a real
// pseudo-terminal, for end-to-end tests through the serial driver. The button is pressed as
// soon as the OPU listens or starts a job unless the test says otherwise. Every member is safe
// to call while a link talks to the OPU.
class SimulatedOpu {
 public:
  SimulatedOpu();
  ~SimulatedOpu();  // stops serving
  SimulatedOpu(const SimulatedOpu&) = delete;
  SimulatedOpu& operator=(const SimulatedOpu&) = delete;

  [[nodiscard]] bool IsServing() const { return serving_; }
  // The port as the program opens it: a link to the pseudo-terminal, which the fault
  // portGoneAfter removes as when the adapter is unplugged.
  [[nodiscard]] QString PortPath() const { return server_.PortLink(); }
  // Options that make a program's links talk to this OPU.
  [[nodiscard]] OpuLinkOptions LinkOptions() const { return OpuLinkOptions{PortPath(), {}}; }
  // A closed link to this OPU through the serial driver.
  [[nodiscard]] std::unique_ptr<OpuLink> MakeLink() const;

  // The transmitter's button: pressed this long after listening or a job starts
  // (OpuSimulator::ManualButton: only by PressButton).
  void SetButtonDelay(int milliseconds) { simulator_.SetButtonDelay(milliseconds); }
  void PressButton() { simulator_.PressButton(); }

  void SetFaults(const OpuSimFaults& faults) { simulator_.SetFaults(faults); }
  [[nodiscard]] OpuSimFaults Faults() const { return simulator_.Faults(); }

  [[nodiscard]] ImageBytes Memory() const { return simulator_.Memory(); }
  void SetMemory(const ImageBytes& memory) { simulator_.SetMemory(memory); }
  [[nodiscard]] QString RadioCode() const { return simulator_.RadioCode(); }
  void SetRadioCode(const QString& code) { simulator_.SetRadioCode(code); }

  void QueuePendants(const std::vector<ImageBytes>& pendants) {
    simulator_.QueuePendants(pendants);
  }
  [[nodiscard]] std::vector<ImageBytes> Pendants() const { return simulator_.Pendants(); }

  // The command texts received so far, e.g. {"v", "aFFFF2E", "A", "s0"}.
  [[nodiscard]] QStringList Commands() const { return simulator_.Commands(); }
  void ClearCommands() { simulator_.ClearCommands(); }
  // The command texts with every run of the same poll command shown once: how often the OPU is
  // polled while the transmitter takes its time is not the point of a conversation.
  [[nodiscard]] QStringList Conversation() const;
  [[nodiscard]] bool HungUp() const { return server_.HungUp(); }

  void Stop() { server_.Stop(); }
  // Serves again on a new pseudo-terminal behind the same port path, after a hang-up or a
  // vanished port; the transmitter and the faults stay.
  void Restart() {
    server_.Stop();
    serving_ = server_.Start();
  }
  [[nodiscard]] OpuSimulator& Simulator() { return simulator_; }
  [[nodiscard]] OpuSimServer& Server() { return server_; }

 private:
  QTemporaryDir folder_;
  OpuSimulator simulator_;
  OpuSimServer server_;
  bool serving_ = false;
};
