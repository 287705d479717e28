#pragma once

#include "image/Messages.h"

// The connection check's advice where the platforms differ: what to do when no USB serial port is
// there at all, and when the port has gone (on Windows: the driver, the device manager).
[[nodiscard]] Msg::Id NoUsbPortAdvice();
[[nodiscard]] Msg::Id PortGoneAdvice();
