// A COM port whose driver is missing never shows up, and one disabled in the device manager is
// not there for any program.
#include "link/ConnectionAdvice.h"

Msg::Id NoUsbPortAdvice() {
  return Msg::CheckNoUsbPortWindows;
}

Msg::Id PortGoneAdvice() {
  return Msg::CheckPortGoneWindows;
}
