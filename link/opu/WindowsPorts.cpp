#include "link/opu/WindowsPorts.h"

// windows.h first: the others need its types; initguid.h before the GUIDs that it defines.
// clang-format off
#include <windows.h>
#include <initguid.h>
#include <devguid.h>
#include <devpkey.h>
#include <setupapi.h>
// clang-format on

#include <array>

namespace {

QString RegistryText(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
  std::array<wchar_t, 512> text{};
  DWORD type = 0;
  if (!SetupDiGetDeviceRegistryPropertyW(
          devices, &device, property, &type, reinterpret_cast<BYTE*>(text.data()),
          static_cast<DWORD>(sizeof(text) - sizeof(wchar_t)), nullptr) ||
      type != REG_SZ)
    return {};
  return QString::fromWCharArray(text.data());
}

// The description the USB device reports on the bus; Windows before 7 did not keep it, and then
// the driver's own description stands in.
QString BusReportedDescription(HDEVINFO devices, SP_DEVINFO_DATA& device) {
  std::array<wchar_t, 512> text{};
  DEVPROPTYPE type = 0;
  if (SetupDiGetDevicePropertyW(devices, &device, &DEVPKEY_Device_BusReportedDeviceDesc, &type,
                                reinterpret_cast<BYTE*>(text.data()),
                                static_cast<DWORD>(sizeof(text) - sizeof(wchar_t)), nullptr, 0) &&
      type == DEVPROP_TYPE_STRING)
    return QString::fromWCharArray(text.data());
  return RegistryText(devices, device, SPDRP_DEVICEDESC);
}

QString PortName(HDEVINFO devices, SP_DEVINFO_DATA& device) {
  const HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
  if (key == INVALID_HANDLE_VALUE) return {};
  std::array<wchar_t, 64> name{};
  DWORD size = static_cast<DWORD>(sizeof(name) - sizeof(wchar_t));
  DWORD type = 0;
  const LONG status = RegQueryValueExW(key, L"PortName", nullptr, &type,
                                       reinterpret_cast<BYTE*>(name.data()), &size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS && type == REG_SZ ? QString::fromWCharArray(name.data())
                                                   : QString();
}

// The OPU's chip sits on the USB bus; its vendor's own bus driver enumerates its ports too.
bool OnUsb(const QString& enumerator) {
  return enumerator.compare(QLatin1String("USB"), Qt::CaseInsensitive) == 0 ||
         enumerator.compare(QLatin1String("FTDIBUS"), Qt::CaseInsensitive) == 0;
}

}  // namespace

std::vector<UsbSerialPort> ListUsbComPorts() {
  std::vector<UsbSerialPort> ports;
  const HDEVINFO devices =
      SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
  if (devices == INVALID_HANDLE_VALUE) return ports;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof(device);
  for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
    if (!OnUsb(RegistryText(devices, device, SPDRP_ENUMERATOR_NAME))) continue;
    const QString name = PortName(devices, device);
    if (name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
      ports.push_back({name, BusReportedDescription(devices, device)});
  }
  SetupDiDestroyDeviceInfoList(devices);
  return ports;
}

QString ComPortDevicePath(const QString& port) {
  return port.startsWith(QLatin1String("\\\\")) ? port : QStringLiteral("\\\\.\\") + port;
}

OpenFailure::Kind ComPortFailureKind(unsigned long error) {
  switch (error) {
    // Windows lets one program at a time open a COM port: the next is denied access.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return OpenFailure::Busy;
    // A port that is not there, or that the device manager has disabled.
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEV_NOT_EXIST:
      return OpenFailure::NotFound;
    default:
      return OpenFailure::Other;
  }
}

QString WindowsErrorText(unsigned long error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  QString message = length > 0 ? QString::fromWCharArray(text, length).trimmed()
                               : QStringLiteral("error %1").arg(error);
  LocalFree(text);
  return message;
}
