#pragma once

#include <QString>

#include <chrono>
#include <cstdint>

// Why a port could not be opened, as far as the user can put it right.
struct OpenFailure {
  enum Kind { None, NotFound, NoPermission, Busy, Other };
  Kind kind = None;
  QString port;   // the port that was tried; empty when none was found
  QString group;  // the group that owns the port, for NoPermission
};

// The calls the link makes on the USB-serial chip of the OPU, and nothing more. Every call
// returns a driver status: 0 for success, anything else for a failure that is never told apart.
class OpuDriver {
 public:
  using Clock = std::chrono::steady_clock;

  // Numeric values of the driver's published interface.
  static constexpr int OpenByDescription = 2;
  static constexpr int PurgeReceive = 1;
  static constexpr int PurgeTransmit = 2;
  static constexpr int WordLength8 = 8;
  static constexpr int StopBits2 = 2;
  static constexpr int ParityNone = 0;
  static constexpr int FlowControlNone = 0;

  virtual ~OpuDriver() = default;

  [[nodiscard]] virtual int OpenEx(const QString& description, int openMode) = 0;
  [[nodiscard]] virtual int SetBaudRate(int baudRate) = 0;
  [[nodiscard]] virtual int SetDataCharacteristics(int wordLength, int stopBits, int parity) = 0;
  [[nodiscard]] virtual int SetFlowControl(int flowControl, char xon, char xoff) = 0;
  [[nodiscard]] virtual int ClearDtr() = 0;
  [[nodiscard]] virtual int Purge(int mask) = 0;
  [[nodiscard]] virtual int SetTimeouts(int readMs, int writeMs) = 0;
  [[nodiscard]] virtual int GetQueueStatus(std::uint32_t& received) = 0;
  [[nodiscard]] virtual int Read(char* buffer, std::uint32_t count, std::uint32_t& delivered) = 0;
  [[nodiscard]] virtual int Write(const char* bytes, std::uint32_t count,
                                  std::uint32_t& written) = 0;
  virtual int Close() = 0;

  // Sleeps until received bytes wait or the deadline passes, whichever comes first, so that
  // waiting for an answer never spins a CPU core.
  virtual void WaitForBytes(Clock::time_point deadline) = 0;
  // Sleeps until the time passes, whatever the line does.
  virtual void Pause(Clock::time_point until) = 0;
  // The tick counter the answer deadlines are measured against.
  [[nodiscard]] virtual Clock::time_point Now() const { return Clock::now(); }
  // Why the last OpenEx failed, in the system's words for the trace; empty when unknown.
  [[nodiscard]] virtual QString LastOpenError() const { return {}; }
  // Why the last OpenEx failed, for the user.
  [[nodiscard]] virtual OpenFailure LastOpenFailure() const { return {}; }
  // True once the open line has hung up (a pulled cable): nothing passes it any more.
  [[nodiscard]] virtual bool HungUp() const { return false; }
};
