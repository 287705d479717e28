#pragma once

#include "link/opu/PortDriver.h"

#include <QString>

#include <memory>

// The OPU through the USB chip maker's D2XX library (ftd2xx.dll), loaded when the link first
// opens: it is there wherever the OPU's driver is installed, and absent elsewhere, which is no
// fault of the program.
class D2xxOpuDriver final : public PortDriver {
 public:
  // library: the file to load; the system's search finds the installed one.
  explicit D2xxOpuDriver(QString library = QStringLiteral("ftd2xx.dll"));
  ~D2xxOpuDriver() override;
  D2xxOpuDriver(const D2xxOpuDriver&) = delete;
  D2xxOpuDriver& operator=(const D2xxOpuDriver&) = delete;

  // Whether the library is installed and offers every call the link makes.
  [[nodiscard]] bool LibraryPresent();

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
  [[nodiscard]] bool HungUp() const override { return handle_ != nullptr && hungUp_; }
  [[nodiscard]] QString OpenedPort() const override;

 private:
  struct Library;
  // A failed transfer on an open device: the cable was pulled.
  int NoteTransfer(unsigned long status);

  QString libraryFile_;
  std::unique_ptr<Library> library_;
  void* handle_ = nullptr;    // the device's handle; null while closed
  void* received_ = nullptr;  // event the library sets when bytes arrive
  QString description_;
  bool hungUp_ = false;
  QString lastOpenError_;
  OpenFailure lastOpenFailure_;
};
