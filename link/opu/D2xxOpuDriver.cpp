#include "link/opu/D2xxOpuDriver.h"

#include <algorithm>
#include <thread>

#include <windows.h>

namespace {

constexpr int StatusFailure = 4;  // any status but 0 is a failure to the link

// The library's published interface, as far as the link uses it.
using FtStatus = ULONG;
using FtHandle = PVOID;
constexpr FtStatus FtOk = 0;
constexpr FtStatus FtDeviceNotFound = 2;
constexpr FtStatus FtDeviceNotOpened = 3;
constexpr DWORD FtEventReceivedCharacter = 1;

using FtOpenEx = FtStatus(WINAPI*)(PVOID, DWORD, FtHandle*);
using FtSetBaudRate = FtStatus(WINAPI*)(FtHandle, ULONG);
using FtSetDataCharacteristics = FtStatus(WINAPI*)(FtHandle, UCHAR, UCHAR, UCHAR);
using FtSetFlowControl = FtStatus(WINAPI*)(FtHandle, USHORT, UCHAR, UCHAR);
using FtClrDtr = FtStatus(WINAPI*)(FtHandle);
using FtPurge = FtStatus(WINAPI*)(FtHandle, ULONG);
using FtSetTimeouts = FtStatus(WINAPI*)(FtHandle, ULONG, ULONG);
using FtGetQueueStatus = FtStatus(WINAPI*)(FtHandle, DWORD*);
using FtRead = FtStatus(WINAPI*)(FtHandle, LPVOID, DWORD, LPDWORD);
using FtWrite = FtStatus(WINAPI*)(FtHandle, LPVOID, DWORD, LPDWORD);
using FtClose = FtStatus(WINAPI*)(FtHandle);
using FtSetEventNotification = FtStatus(WINAPI*)(FtHandle, DWORD, PVOID);

template <typename Function>
bool Bind(HMODULE module, const char* name, Function& function) {
  // Through the generic function type, which every function pointer may be cast from.
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  return function != nullptr;
}

int StatusOf(FtStatus status) {
  return status == FtOk ? 0 : StatusFailure;
}

}  // namespace

struct D2xxOpuDriver::Library {
  HMODULE module = nullptr;
  FtOpenEx openEx = nullptr;
  FtSetBaudRate setBaudRate = nullptr;
  FtSetDataCharacteristics setDataCharacteristics = nullptr;
  FtSetFlowControl setFlowControl = nullptr;
  FtClrDtr clrDtr = nullptr;
  FtPurge purge = nullptr;
  FtSetTimeouts setTimeouts = nullptr;
  FtGetQueueStatus getQueueStatus = nullptr;
  FtRead read = nullptr;
  FtWrite write = nullptr;
  FtClose close = nullptr;
  FtSetEventNotification setEventNotification = nullptr;

  explicit Library(const QString& file) {
    module = LoadLibraryW(reinterpret_cast<const wchar_t*>(file.utf16()));
    if (module == nullptr) return;
    const bool complete =
        Bind(module, "FT_OpenEx", openEx) && Bind(module, "FT_SetBaudRate", setBaudRate) &&
        Bind(module, "FT_SetDataCharacteristics", setDataCharacteristics) &&
        Bind(module, "FT_SetFlowControl", setFlowControl) && Bind(module, "FT_ClrDtr", clrDtr) &&
        Bind(module, "FT_Purge", purge) && Bind(module, "FT_SetTimeouts", setTimeouts) &&
        Bind(module, "FT_GetQueueStatus", getQueueStatus) && Bind(module, "FT_Read", read) &&
        Bind(module, "FT_Write", write) && Bind(module, "FT_Close", close) &&
        Bind(module, "FT_SetEventNotification", setEventNotification);
    if (!complete) {
      FreeLibrary(module);
      module = nullptr;
    }
  }
  ~Library() {
    if (module != nullptr) FreeLibrary(module);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
};

D2xxOpuDriver::D2xxOpuDriver(QString library) : libraryFile_(std::move(library)) {}

D2xxOpuDriver::~D2xxOpuDriver() {
  Close();
  if (received_ != nullptr) CloseHandle(received_);
}

bool D2xxOpuDriver::LibraryPresent() {
  if (!library_) library_ = std::make_unique<Library>(libraryFile_);
  return library_->module != nullptr;
}

int D2xxOpuDriver::OpenEx(const QString& description, int openMode) {
  Close();
  lastOpenError_.clear();
  lastOpenFailure_ = {};
  if (!LibraryPresent()) {
    lastOpenError_ = QStringLiteral("%1 is not installed").arg(libraryFile_);
    lastOpenFailure_.kind = OpenFailure::NotFound;
    return StatusFailure;
  }
  QByteArray text = description.toLatin1();
  FtHandle handle = nullptr;
  const FtStatus status = library_->openEx(text.data(), static_cast<DWORD>(openMode), &handle);
  if (status != FtOk || handle == nullptr) {
    lastOpenError_ = QStringLiteral("%1: D2XX status %2").arg(description).arg(status);
    lastOpenFailure_.kind = status == FtDeviceNotFound    ? OpenFailure::NotFound
                            : status == FtDeviceNotOpened ? OpenFailure::Busy
                                                          : OpenFailure::Other;
    return StatusFailure;
  }
  handle_ = handle;
  description_ = description;
  hungUp_ = false;
  if (received_ == nullptr) received_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  // Waiting for an answer sleeps on this event; without it, it sleeps until the deadline.
  if (received_ != nullptr)
    (void)library_->setEventNotification(handle_, FtEventReceivedCharacter, received_);
  return 0;
}

QString D2xxOpuDriver::OpenedPort() const {
  return handle_ != nullptr ? QStringLiteral("USB \"%1\"").arg(description_) : QString();
}

int D2xxOpuDriver::NoteTransfer(unsigned long status) {
  if (status != FtOk) hungUp_ = true;
  return StatusOf(status);
}

int D2xxOpuDriver::SetBaudRate(int baudRate) {
  if (handle_ == nullptr) return StatusFailure;
  return StatusOf(library_->setBaudRate(handle_, static_cast<ULONG>(baudRate)));
}

int D2xxOpuDriver::SetDataCharacteristics(int wordLength, int stopBits, int parity) {
  if (handle_ == nullptr) return StatusFailure;
  return StatusOf(library_->setDataCharacteristics(handle_, static_cast<UCHAR>(wordLength),
                                                   static_cast<UCHAR>(stopBits),
                                                   static_cast<UCHAR>(parity)));
}

int D2xxOpuDriver::SetFlowControl(int flowControl, char xon, char xoff) {
  if (handle_ == nullptr) return StatusFailure;
  return StatusOf(library_->setFlowControl(handle_, static_cast<USHORT>(flowControl),
                                           static_cast<UCHAR>(xon), static_cast<UCHAR>(xoff)));
}

int D2xxOpuDriver::ClearDtr() {
  if (handle_ == nullptr) return StatusFailure;
  return StatusOf(library_->clrDtr(handle_));
}

int D2xxOpuDriver::Purge(int mask) {
  if (handle_ == nullptr) return StatusFailure;
  return StatusOf(library_->purge(handle_, static_cast<ULONG>(mask)));
}

int D2xxOpuDriver::SetTimeouts(int readMs, int writeMs) {
  if (handle_ == nullptr) return StatusFailure;
  return StatusOf(library_->setTimeouts(handle_, static_cast<ULONG>(std::max(readMs, 0)),
                                        static_cast<ULONG>(std::max(writeMs, 0))));
}

int D2xxOpuDriver::GetQueueStatus(std::uint32_t& received) {
  if (handle_ == nullptr || hungUp_) return StatusFailure;
  DWORD queued = 0;
  const int status = NoteTransfer(library_->getQueueStatus(handle_, &queued));
  if (status == 0) received = static_cast<std::uint32_t>(queued);
  return status;
}

int D2xxOpuDriver::Read(char* buffer, std::uint32_t count, std::uint32_t& delivered) {
  delivered = 0;
  if (handle_ == nullptr || hungUp_) return StatusFailure;
  if (count == 0) return 0;
  DWORD got = 0;
  const int status = NoteTransfer(library_->read(handle_, buffer, count, &got));
  if (status == 0) delivered = static_cast<std::uint32_t>(got);
  return status;
}

int D2xxOpuDriver::Write(const char* bytes, std::uint32_t count, std::uint32_t& written) {
  written = 0;
  if (handle_ == nullptr || hungUp_) return StatusFailure;
  DWORD sent = 0;
  // The library takes a buffer it does not change through a pointer that is not const.
  const int status = NoteTransfer(library_->write(handle_, const_cast<char*>(bytes), count, &sent));
  if (status == 0) written = static_cast<std::uint32_t>(sent);
  return status;
}

int D2xxOpuDriver::Close() {
  if (handle_ == nullptr) return StatusFailure;
  (void)library_->close(handle_);
  handle_ = nullptr;
  hungUp_ = false;
  return 0;
}

void D2xxOpuDriver::WaitForBytes(Clock::time_point deadline) {
  std::uint32_t queued = 0;
  if (handle_ == nullptr || hungUp_ || received_ == nullptr || GetQueueStatus(queued) != 0) {
    Pause(deadline);
    return;
  }
  if (queued > 0) return;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
  if (left.count() > 0) WaitForSingleObject(received_, static_cast<DWORD>(left.count()));
}

void D2xxOpuDriver::Pause(Clock::time_point until) {
  std::this_thread::sleep_until(until);
}
