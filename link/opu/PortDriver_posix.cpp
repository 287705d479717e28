#include "link/opu/PortDriver.h"
#include "link/opu/SerialOpuDriver.h"

#include <QFileInfo>

std::unique_ptr<PortDriver> MakePortDriver(const QString& portPath,
                                           const SerialPortPlaces& places) {
  return std::make_unique<SerialOpuDriver>(portPath, places);
}

std::vector<UsbSerialPort> ListUsbPorts(const SerialPortPlaces& places) {
  return SerialOpuDriver::ListUsbPorts(places);
}

bool PortExists(const QString& port) {
  return QFileInfo::exists(port);
}
