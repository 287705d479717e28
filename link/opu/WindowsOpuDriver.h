#pragma once

#include "link/opu/ComPortOpuDriver.h"
#include "link/opu/D2xxOpuDriver.h"
#include "link/opu/PortDriver.h"

// The OPU on Windows: through the D2XX library when it is installed and finds the OPU by its
// USB description, else through the OPU's virtual COM port found by the same description. A port
// named on the command line is opened as a COM port.
class WindowsOpuDriver final : public PortDriver {
 public:
  explicit WindowsOpuDriver(const QString& portName = {},
                            const QString& d2xxLibrary = QStringLiteral("ftd2xx.dll"));

  [[nodiscard]] int OpenEx(const QString& description, int openMode) override;
  [[nodiscard]] int SetBaudRate(int baudRate) override { return active_->SetBaudRate(baudRate); }
  [[nodiscard]] int SetDataCharacteristics(int wordLength, int stopBits, int parity) override {
    return active_->SetDataCharacteristics(wordLength, stopBits, parity);
  }
  [[nodiscard]] int SetFlowControl(int flowControl, char xon, char xoff) override {
    return active_->SetFlowControl(flowControl, xon, xoff);
  }
  [[nodiscard]] int ClearDtr() override { return active_->ClearDtr(); }
  [[nodiscard]] int Purge(int mask) override { return active_->Purge(mask); }
  [[nodiscard]] int SetTimeouts(int readMs, int writeMs) override {
    return active_->SetTimeouts(readMs, writeMs);
  }
  [[nodiscard]] int GetQueueStatus(std::uint32_t& received) override {
    return active_->GetQueueStatus(received);
  }
  [[nodiscard]] int Read(char* buffer, std::uint32_t count, std::uint32_t& delivered) override {
    return active_->Read(buffer, count, delivered);
  }
  [[nodiscard]] int Write(const char* bytes, std::uint32_t count, std::uint32_t& written) override {
    return active_->Write(bytes, count, written);
  }
  int Close() override { return active_->Close(); }
  void WaitForBytes(Clock::time_point deadline) override { active_->WaitForBytes(deadline); }
  void Pause(Clock::time_point until) override { active_->Pause(until); }
  [[nodiscard]] QString LastOpenError() const override { return lastOpenError_; }
  [[nodiscard]] OpenFailure LastOpenFailure() const override { return lastOpenFailure_; }
  [[nodiscard]] bool HungUp() const override { return active_->HungUp(); }
  [[nodiscard]] QString OpenedPort() const override { return active_->OpenedPort(); }

 private:
  bool byName_;
  D2xxOpuDriver d2xx_;
  ComPortOpuDriver comPort_;
  PortDriver* active_;  // the driver that opened last, or the COM port's
  QString lastOpenError_;
  OpenFailure lastOpenFailure_;
};
