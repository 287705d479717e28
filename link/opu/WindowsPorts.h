#pragma once

#include "link/opu/PortDriver.h"

#include <QString>

#include <vector>

// The COM ports of USB adapters as the device manager knows them, each with the description its
// USB device reports on the bus (what the adapter's maker put into the chip, not the name the
// driver gives the port).
[[nodiscard]] std::vector<UsbSerialPort> ListUsbComPorts();

// "COM5" as CreateFile opens it ("\\.\COM5", which also reaches ports above COM9); a name that
// already is a device path stays as it is.
[[nodiscard]] QString ComPortDevicePath(const QString& port);

// What a failed CreateFile of a COM port means to the user.
[[nodiscard]] OpenFailure::Kind ComPortFailureKind(unsigned long error);

// The system's own words for a Win32 error code, for the trace and the connection check.
[[nodiscard]] QString WindowsErrorText(unsigned long error);
