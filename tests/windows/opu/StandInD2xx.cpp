// A stand-in for the USB chip maker's D2XX library (ftd2xx.dll) for the tests: it serves the calls
// the link makes over a COM port (UKOVA_STANDIN_PORT, e.g. COM12) behind which the simulated OPU
// answers, presents one device with the description UKOVA_STANDIN_DESCRIPTION, and keeps a log of
// the calls with their arguments for the test to read (StandInCalls).
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include <windows.h>

namespace {

using FtStatus = ULONG;
constexpr FtStatus FtOk = 0;
constexpr FtStatus FtInvalidHandle = 1;
constexpr FtStatus FtDeviceNotFound = 2;
constexpr FtStatus FtDeviceNotOpened = 3;
constexpr FtStatus FtIoError = 4;

std::mutex logMutex;
std::string callLog;

void Note(const std::string& call) {
  const std::lock_guard<std::mutex> lock(logMutex);
  callLog += call + '\n';
}

std::string Environment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : fallback;
}

struct Device {
  HANDLE port = INVALID_HANDLE_VALUE;
  DCB line{};
  HANDLE event = nullptr;
  std::atomic<bool> watching{false};
  std::thread watcher;
};

Device* AsDevice(PVOID handle) {
  return static_cast<Device*>(handle);
}

FtStatus ApplyLine(Device* device) {
  return SetCommState(device->port, &device->line) ? FtOk : FtIoError;
}

DWORD Queued(Device* device, bool& ok) {
  DWORD errors = 0;
  COMSTAT status{};
  ok = ClearCommError(device->port, &errors, &status) != 0;
  return ok ? status.cbInQue : 0;
}

}  // namespace

extern "C" {

__declspec(dllexport) int StandInCalls(char* buffer, int size) {
  const std::lock_guard<std::mutex> lock(logMutex);
  const int length = static_cast<int>(callLog.size());
  if (buffer != nullptr && size > length) std::memcpy(buffer, callLog.c_str(), callLog.size() + 1);
  return length;
}

__declspec(dllexport) FtStatus WINAPI FT_OpenEx(PVOID argument, DWORD flags, PVOID* handle) {
  const std::string description = static_cast<const char*>(argument);
  Note("FT_OpenEx " + description + " " + std::to_string(flags));
  if (flags != 2 ||
      description != Environment("UKOVA_STANDIN_DESCRIPTION", "Orvel OPU - Active USB Interface"))
    return FtDeviceNotFound;
  const std::string path = "\\\\.\\" + Environment("UKOVA_STANDIN_PORT", "COM12");
  const HANDLE port = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (port == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_ACCESS_DENIED ? FtDeviceNotOpened : FtDeviceNotFound;
  auto* device = new Device;
  device->port = port;
  device->line.DCBlength = sizeof(device->line);
  GetCommState(port, &device->line);
  device->line.fBinary = TRUE;
  COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 100};
  SetCommTimeouts(port, &timeouts);
  *handle = device;
  return FtOk;
}

__declspec(dllexport) FtStatus WINAPI FT_SetBaudRate(PVOID handle, ULONG baudRate) {
  Note("FT_SetBaudRate " + std::to_string(baudRate));
  AsDevice(handle)->line.BaudRate = baudRate;
  return ApplyLine(AsDevice(handle));
}

__declspec(dllexport) FtStatus WINAPI
    FT_SetDataCharacteristics(PVOID handle, UCHAR wordLength, UCHAR stopBits, UCHAR parity) {
  Note("FT_SetDataCharacteristics " + std::to_string(wordLength) + " " + std::to_string(stopBits) +
       " " + std::to_string(parity));
  Device* device = AsDevice(handle);
  device->line.ByteSize = wordLength;
  device->line.StopBits = stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
  device->line.Parity = parity;
  return ApplyLine(device);
}

__declspec(dllexport) FtStatus WINAPI
    FT_SetFlowControl(PVOID handle, USHORT flowControl, UCHAR xon, UCHAR xoff) {
  Note("FT_SetFlowControl " + std::to_string(flowControl) + " " + std::to_string(xon) + " " +
       std::to_string(xoff));
  return handle != nullptr ? FtOk : FtInvalidHandle;
}

__declspec(dllexport) FtStatus WINAPI FT_ClrDtr(PVOID handle) {
  Note("FT_ClrDtr");
  return handle != nullptr ? FtOk : FtInvalidHandle;
}

__declspec(dllexport) FtStatus WINAPI FT_Purge(PVOID handle, ULONG mask) {
  Note("FT_Purge " + std::to_string(mask));
  DWORD flags = 0;
  if ((mask & 1) != 0) flags |= PURGE_RXCLEAR;
  if ((mask & 2) != 0) flags |= PURGE_TXCLEAR;
  return PurgeComm(AsDevice(handle)->port, flags) ? FtOk : FtIoError;
}

__declspec(dllexport) FtStatus WINAPI FT_SetTimeouts(PVOID handle, ULONG readMs, ULONG writeMs) {
  Note("FT_SetTimeouts " + std::to_string(readMs) + " " + std::to_string(writeMs));
  return handle != nullptr ? FtOk : FtInvalidHandle;
}

__declspec(dllexport) FtStatus WINAPI FT_GetQueueStatus(PVOID handle, DWORD* received) {
  bool ok = false;
  *received = Queued(AsDevice(handle), ok);
  return ok ? FtOk : FtIoError;
}

__declspec(dllexport) FtStatus WINAPI
    FT_Read(PVOID handle, LPVOID buffer, DWORD count, LPDWORD delivered) {
  return ReadFile(AsDevice(handle)->port, buffer, count, delivered, nullptr) ? FtOk : FtIoError;
}

__declspec(dllexport) FtStatus WINAPI
    FT_Write(PVOID handle, LPVOID bytes, DWORD count, LPDWORD written) {
  return WriteFile(AsDevice(handle)->port, bytes, count, written, nullptr) ? FtOk : FtIoError;
}

__declspec(dllexport) FtStatus WINAPI
    FT_SetEventNotification(PVOID handle, DWORD mask, PVOID event) {
  Note("FT_SetEventNotification " + std::to_string(mask));
  Device* device = AsDevice(handle);
  device->event = static_cast<HANDLE>(event);
  device->watching = true;
  // The chip's driver sets the event when bytes arrive; the stand-in looks every millisecond.
  device->watcher = std::thread([device] {
    while (device->watching) {
      bool ok = false;
      if (Queued(device, ok) > 0 || !ok) SetEvent(device->event);
      Sleep(1);
    }
  });
  return FtOk;
}

__declspec(dllexport) FtStatus WINAPI FT_Close(PVOID handle) {
  Note("FT_Close");
  Device* device = AsDevice(handle);
  device->watching = false;
  if (device->watcher.joinable()) device->watcher.join();
  CloseHandle(device->port);
  delete device;
  return FtOk;
}

}  // extern "C"
