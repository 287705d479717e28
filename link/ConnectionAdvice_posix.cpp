#include "link/ConnectionAdvice.h"

Msg::Id NoUsbPortAdvice() {
  return Msg::CheckNoUsbPort;
}

Msg::Id PortGoneAdvice() {
  return Msg::CheckPortGone;
}
