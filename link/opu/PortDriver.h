#pragma once

#include "link/opu/OpuDriver.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// Where the serial ports and their USB descriptions are found on Linux; tests point these at a
// tree of their own. Windows asks its device manager and needs no places.
struct SerialPortPlaces {
  QString sysfsRoot = QStringLiteral("/sys");
  QString devRoot = QStringLiteral("/dev");
};

// A serial port on a USB adapter, with the adapter's USB product string (empty when it has none).
struct UsbSerialPort {
  QString device;  // the device node, or the COM port's name
  QString product;
};

// The OPU's USB-serial chip as this platform reaches it, with the port it has open.
class PortDriver : public OpuDriver {
 public:
  // The port the driver has open; empty while closed.
  [[nodiscard]] virtual QString OpenedPort() const = 0;
};

// The platform's driver. With a port name, OpenEx opens that port whatever description it
// reports; without one, the port whose USB description is the one asked for.
[[nodiscard]] std::unique_ptr<PortDriver> MakePortDriver(const QString& portPath,
                                                         const SerialPortPlaces& places = {});
// Every serial port on a USB adapter, by name.
[[nodiscard]] std::vector<UsbSerialPort> ListUsbPorts(const SerialPortPlaces& places);
// The ports among those listed whose USB product string is the description, in their order.
[[nodiscard]] QStringList FindPortsByDescription(const QString& description,
                                                 const std::vector<UsbSerialPort>& ports);
// Whether a port named on the command line is there at all.
[[nodiscard]] bool PortExists(const QString& port);

// OpenEx of a driver that opens one of the ports whose USB description is asked for: only by
// description, and the ports in order until one opens. With several programming units attached,
// one that another program holds must not keep the user from the next. openPort notes why it
// failed in failure and error; when none opens, they tell the failure the user can best put right.
using PortOpener = std::function<bool(const QString& port)>;
[[nodiscard]] bool OpenOneOf(int openMode, const QString& description, const QStringList& ports,
                             const PortOpener& openPort, OpenFailure& failure, QString& error);
