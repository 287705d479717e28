#pragma once

#include "link/opu/PortDriver.h"

#include <QByteArray>
#include <QString>

// The OPU's virtual COM port, driven through the Win32 serial calls: the port whose USB device
// reports the description, or the port named on the command line.
class ComPortOpuDriver final : public PortDriver {
 public:
  // With a port name ("COM5"), OpenEx opens that port whatever description it reports.
  explicit ComPortOpuDriver(QString portName = {});
  ~ComPortOpuDriver() override;
  ComPortOpuDriver(const ComPortOpuDriver&) = delete;
  ComPortOpuDriver& operator=(const ComPortOpuDriver&) = delete;

  [[nodiscard]] int OpenEx(const QString& description, int openMode) override;
  [[nodiscard]] int SetBaudRate(int baudRate) override;
  [[nodiscard]] int SetDataCharacteristics(int wordLength, int stopBits, int parity) override;
  [[nodiscard]] int SetFlowControl(int flowControl, char xon, char xoff) override;
  [[nodiscard]] int ClearDtr() override;
  [[nodiscard]] int Purge(int mask) override;
  [[nodiscard]] int SetTimeouts(int readMs, int writeMs) override;
  [[nodiscard]] int GetQueueStatus(std::uint32_t& received) override;
  [[nodiscard]] int Read(char* buffer, std::uint32_t count, std::uint32_t& delivered) override;
  [[nodiscard]] int Write(const char* bytes, std::uint32_t count, std::uint32_t& written) override;
  int Close() override;
  void WaitForBytes(Clock::time_point deadline) override;
  void Pause(Clock::time_point until) override;
  [[nodiscard]] QString LastOpenError() const override { return lastOpenError_; }
  [[nodiscard]] OpenFailure LastOpenFailure() const override { return lastOpenFailure_; }
  [[nodiscard]] bool HungUp() const override { return IsOpen() && hungUp_; }
  [[nodiscard]] QString OpenedPort() const override { return IsOpen() ? openedPort_ : QString(); }

 private:
  [[nodiscard]] bool IsOpen() const { return port_ != nullptr; }
  [[nodiscard]] bool OpenPort(const QString& name);
  void NoteOpenFailure(const QString& name, unsigned long error);
  // Changes the line's settings as the change asks and hands them to the port.
  template <typename Change>
  [[nodiscard]] int ChangeLine(Change change);
  // Reads return at once with what is queued; a wait for the first byte lasts at most waitMs.
  [[nodiscard]] bool ApplyTimeouts(unsigned long waitMs);
  [[nodiscard]] bool QueuedBytes(std::uint32_t& queued);
  void NoteHangUp() { hungUp_ = true; }

  QString portName_;
  void* port_ = nullptr;  // the port's handle; null while closed
  QString openedPort_;
  bool hungUp_ = false;
  unsigned long writeTimeoutMs_ = 100;
  // A byte that arrived while waiting for bytes: the next read delivers it first.
  QByteArray early_;
  QString lastOpenError_;
  OpenFailure lastOpenFailure_;
};
