#include "link/opu/PortDriver.h"
#include "link/opu/WindowsOpuDriver.h"
#include "link/opu/WindowsPorts.h"

#include <array>

#include <windows.h>

std::unique_ptr<PortDriver> MakePortDriver(const QString& portPath,
                                           const SerialPortPlaces& /*places*/) {
  return std::make_unique<WindowsOpuDriver>(portPath);
}

std::vector<UsbSerialPort> ListUsbPorts(const SerialPortPlaces& /*places*/) {
  return ListUsbComPorts();
}

bool PortExists(const QString& port) {
  // A COM port is a DOS device name, not a file: "COM5" and "\\.\COM5" both name it.
  QString name = port;
  if (name.startsWith(QLatin1String("\\\\.\\"))) name.remove(0, 4);
  std::array<wchar_t, 1024> target{};
  if (QueryDosDeviceW(reinterpret_cast<const wchar_t*>(name.utf16()), target.data(),
                      static_cast<DWORD>(target.size())) != 0)
    return true;
  // A port the system made after start-up may be missing from the device names; asking for no
  // access at all neither disturbs it nor is refused for another program holding it.
  const HANDLE device =
      CreateFileW(reinterpret_cast<const wchar_t*>(ComPortDevicePath(port).utf16()), 0,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (device != INVALID_HANDLE_VALUE) {
    CloseHandle(device);
    return true;
  }
  return ComPortFailureKind(GetLastError()) == OpenFailure::Busy;
}
