#pragma once

#include "link/opu/PortDriver.h"

#include <QString>
#include <QStringList>

#include <vector>

#include <termios.h>

// The OPU's USB-serial chip as the kernel shows it: a serial port driven through termios.
class SerialOpuDriver final : public PortDriver {
 public:
  // With a port path, OpenEx opens that port whatever description it reports.
  explicit SerialOpuDriver(QString portPath = {}, SerialPortPlaces places = {});
  ~SerialOpuDriver() override;
  SerialOpuDriver(const SerialOpuDriver&) = delete;
  SerialOpuDriver& operator=(const SerialOpuDriver&) = delete;

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
  [[nodiscard]] bool HungUp() const override { return fd_ >= 0 && hungUp_; }

  [[nodiscard]] QString OpenedPort() const override { return fd_ >= 0 ? openedPort_ : QString(); }

  // Every serial port on a USB adapter, by name.
  [[nodiscard]] static std::vector<UsbSerialPort> ListUsbPorts(const SerialPortPlaces& places);
  // The device nodes of the ports whose USB product string is the description, by name.
  [[nodiscard]] static QStringList FindPortsByDescription(const QString& description,
                                                          const SerialPortPlaces& places);
  // The same, among ports already listed.
  [[nodiscard]] static QStringList FindPortsByDescription(const QString& description,
                                                          const std::vector<UsbSerialPort>& ports);

 private:
  [[nodiscard]] int OpenPort(const QString& path);
  void NoteOpenFailure(const QString& path, int error);
  [[nodiscard]] int ApplySettings();
  void NoteHangUp();

  QString portPath_;
  SerialPortPlaces places_;
  int fd_ = -1;
  QString openedPort_;
  bool hungUp_ = false;
  int writeTimeoutMs_ = 100;
  termios settings_{};
  QString lastOpenError_;
  OpenFailure lastOpenFailure_;
};
