#include "link/opu/ComPortOpuDriver.h"

#include "link/opu/WindowsPorts.h"

#include <algorithm>
#include <thread>

#include <windows.h>

namespace {

constexpr int StatusFailure = 4;  // any status but 0 is a failure to the link

HANDLE HandleOf(void* port) {
  return static_cast<HANDLE>(port);
}

DWORD MillisecondsUntil(OpuDriver::Clock::time_point deadline) {
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(deadline - OpuDriver::Clock::now());
  return static_cast<DWORD>(std::max<long long>(0, left.count()));
}

}  // namespace

ComPortOpuDriver::ComPortOpuDriver(QString portName) : portName_(std::move(portName)) {}

ComPortOpuDriver::~ComPortOpuDriver() {
  Close();
}

int ComPortOpuDriver::OpenEx(const QString& description, int openMode) {
  Close();
  const QStringList ports = portName_.isEmpty()
                                ? FindPortsByDescription(description, ListUsbComPorts())
                                : QStringList{portName_};
  const auto openPort = [this](const QString& port) { return OpenPort(port); };
  return OpenOneOf(openMode, description, ports, openPort, lastOpenFailure_, lastOpenError_)
             ? 0
             : StatusFailure;
}

bool ComPortOpuDriver::OpenPort(const QString& name) {
  const HANDLE port = CreateFileW(reinterpret_cast<const wchar_t*>(ComPortDevicePath(name).utf16()),
                                  GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    NoteOpenFailure(name, GetLastError());
    return false;
  }
  DCB line{};
  line.DCBlength = sizeof(line);
  if (!GetCommState(port, &line)) {
    NoteOpenFailure(name, GetLastError());
    CloseHandle(port);
    return false;
  }
  port_ = port;
  openedPort_ = name;
  hungUp_ = false;
  early_.clear();
  // Raw bytes: no parity check, no character replaced, no line stopped by a control byte.
  const int raw = ChangeLine([](DCB& settings) {
    settings.fBinary = TRUE;
    settings.fParity = FALSE;
    settings.fErrorChar = FALSE;
    settings.fNull = FALSE;
    settings.fAbortOnError = FALSE;
    settings.fDsrSensitivity = FALSE;
  });
  if (raw != 0 || !ApplyTimeouts(0)) {
    NoteOpenFailure(name, GetLastError());
    Close();
    return false;
  }
  return true;
}

void ComPortOpuDriver::NoteOpenFailure(const QString& name, unsigned long error) {
  lastOpenError_ = QStringLiteral("%1: %2").arg(name, WindowsErrorText(error));
  lastOpenFailure_ = {ComPortFailureKind(error), name, {}};
}

template <typename Change>
int ComPortOpuDriver::ChangeLine(Change change) {
  if (!IsOpen()) return StatusFailure;
  DCB line{};
  line.DCBlength = sizeof(line);
  if (!GetCommState(HandleOf(port_), &line)) return StatusFailure;
  change(line);
  return SetCommState(HandleOf(port_), &line) ? 0 : StatusFailure;
}

bool ComPortOpuDriver::ApplyTimeouts(unsigned long waitMs) {
  // MAXDWORD, 0, 0: a read returns at once with what is queued. MAXDWORD, MAXDWORD, n: a read
  // returns as soon as one byte is there, or after n ms with none.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.ReadTotalTimeoutMultiplier = waitMs > 0 ? MAXDWORD : 0;
  timeouts.ReadTotalTimeoutConstant = waitMs;
  timeouts.WriteTotalTimeoutConstant = writeTimeoutMs_;
  return SetCommTimeouts(HandleOf(port_), &timeouts) != 0;
}

int ComPortOpuDriver::SetBaudRate(int baudRate) {
  if (baudRate <= 0) return StatusFailure;
  return ChangeLine([baudRate](DCB& line) { line.BaudRate = static_cast<DWORD>(baudRate); });
}

int ComPortOpuDriver::SetDataCharacteristics(int wordLength, int stopBits, int parity) {
  if (wordLength != WordLength8 || (stopBits != 1 && stopBits != StopBits2) || parity != ParityNone)
    return StatusFailure;
  return ChangeLine([stopBits](DCB& line) {
    line.ByteSize = 8;
    line.StopBits = stopBits == StopBits2 ? TWOSTOPBITS : ONESTOPBIT;
    line.Parity = NOPARITY;
  });
}

int ComPortOpuDriver::SetFlowControl(int flowControl, char xon, char xoff) {
  if (flowControl != FlowControlNone) return StatusFailure;
  return ChangeLine([xon, xoff](DCB& line) {
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    line.fOutX = FALSE;
    line.fInX = FALSE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
    line.XonChar = xon;
    line.XoffChar = xoff;
  });
}

int ComPortOpuDriver::ClearDtr() {
  if (!IsOpen()) return StatusFailure;
  if (ChangeLine([](DCB& line) { line.fDtrControl = DTR_CONTROL_DISABLE; }) != 0)
    return StatusFailure;
  // A line without modem control has no DTR to clear; the setting above already says "off".
  (void)EscapeCommFunction(HandleOf(port_), CLRDTR);
  return 0;
}

int ComPortOpuDriver::Purge(int mask) {
  if (!IsOpen()) return StatusFailure;
  DWORD flags = 0;
  if ((mask & PurgeReceive) != 0) {
    flags |= PURGE_RXCLEAR | PURGE_RXABORT;
    early_.clear();
  }
  if ((mask & PurgeTransmit) != 0) flags |= PURGE_TXCLEAR | PURGE_TXABORT;
  if (flags == 0) return 0;
  return PurgeComm(HandleOf(port_), flags) ? 0 : StatusFailure;
}

int ComPortOpuDriver::SetTimeouts(int /*readMs*/, int writeMs) {
  // Reads never wait here: the link asks only for queued bytes.
  if (!IsOpen()) return StatusFailure;
  writeTimeoutMs_ = static_cast<unsigned long>(std::max(writeMs, 0));
  return ApplyTimeouts(0) ? 0 : StatusFailure;
}

bool ComPortOpuDriver::QueuedBytes(std::uint32_t& queued) {
  DWORD errors = 0;
  COMSTAT status{};
  if (!ClearCommError(HandleOf(port_), &errors, &status)) {
    NoteHangUp();
    return false;
  }
  queued = static_cast<std::uint32_t>(status.cbInQue);
  return true;
}

int ComPortOpuDriver::GetQueueStatus(std::uint32_t& received) {
  std::uint32_t queued = 0;
  if (!IsOpen() || hungUp_ || !QueuedBytes(queued)) return StatusFailure;
  received = queued + static_cast<std::uint32_t>(early_.size());
  return 0;
}

int ComPortOpuDriver::Read(char* buffer, std::uint32_t count, std::uint32_t& delivered) {
  delivered = 0;
  if (!IsOpen() || hungUp_) return StatusFailure;
  const auto early = std::min<std::uint32_t>(count, static_cast<std::uint32_t>(early_.size()));
  std::copy_n(early_.constData(), early, buffer);
  early_.remove(0, static_cast<qsizetype>(early));
  delivered = early;
  std::uint32_t queued = 0;
  if (delivered == count || !QueuedBytes(queued) || queued == 0) return hungUp_ ? StatusFailure : 0;
  DWORD got = 0;
  if (!ReadFile(HandleOf(port_), buffer + delivered, std::min(count - delivered, queued), &got,
                nullptr)) {
    NoteHangUp();
    return StatusFailure;
  }
  delivered += static_cast<std::uint32_t>(got);
  return 0;
}

int ComPortOpuDriver::Write(const char* bytes, std::uint32_t count, std::uint32_t& written) {
  written = 0;
  if (!IsOpen() || hungUp_) return StatusFailure;
  DWORD sent = 0;
  // The write time-out ends a write that the line does not take; what went out still counts.
  if (!WriteFile(HandleOf(port_), bytes, count, &sent, nullptr) &&
      GetLastError() != ERROR_TIMEOUT) {
    NoteHangUp();
    return StatusFailure;
  }
  written = static_cast<std::uint32_t>(sent);
  return 0;
}

int ComPortOpuDriver::Close() {
  if (!IsOpen()) return StatusFailure;
  CloseHandle(HandleOf(port_));
  port_ = nullptr;
  hungUp_ = false;
  early_.clear();
  return 0;
}

void ComPortOpuDriver::WaitForBytes(Clock::time_point deadline) {
  std::uint32_t queued = 0;
  if (!IsOpen() || hungUp_ || !early_.isEmpty() || !QueuedBytes(queued) || queued > 0) {
    if (hungUp_) Pause(deadline);
    return;
  }
  // The port's own read time-out sleeps until the first byte arrives; that byte is kept for
  // the next read.
  const DWORD waitMs = MillisecondsUntil(deadline);
  if (waitMs == 0 || !ApplyTimeouts(waitMs)) return;
  char byte = 0;
  DWORD got = 0;
  const bool read = ReadFile(HandleOf(port_), &byte, 1, &got, nullptr) != 0;
  (void)ApplyTimeouts(0);
  if (!read) {
    // A line that hung up reports so at once, every time: waiting on it must still sleep.
    NoteHangUp();
    Pause(deadline);
  } else if (got == 1) {
    early_.append(byte);
  } else {
    // A line that hung up while the read waited ends the wait like a time-out; only the next
    // look at the queue tells them apart.
    (void)QueuedBytes(queued);
  }
}

void ComPortOpuDriver::Pause(Clock::time_point until) {
  std::this_thread::sleep_until(until);
}
