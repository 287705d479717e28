#include "link/opu/WindowsOpuDriver.h"

WindowsOpuDriver::WindowsOpuDriver(const QString& portName, const QString& d2xxLibrary)
    : byName_(!portName.isEmpty()), d2xx_(d2xxLibrary), comPort_(portName), active_(&comPort_) {}

int WindowsOpuDriver::OpenEx(const QString& description, int openMode) {
  (void)d2xx_.Close();
  (void)comPort_.Close();
  lastOpenFailure_ = {};
  lastOpenError_.clear();
  if (!byName_) {
    active_ = &d2xx_;
    if (d2xx_.OpenEx(description, openMode) == 0) return 0;
  }
  active_ = &comPort_;
  const int status = comPort_.OpenEx(description, openMode);
  // Tell the failure of the COM port, unless only the library saw the OPU (held elsewhere).
  const bool libraryKnowsMore = !byName_ && d2xx_.LastOpenFailure().kind != OpenFailure::NotFound &&
                                comPort_.LastOpenFailure().kind == OpenFailure::NotFound;
  const PortDriver& told = libraryKnowsMore ? static_cast<const PortDriver&>(d2xx_) : comPort_;
  if (status != 0) {
    lastOpenFailure_ = told.LastOpenFailure();
    lastOpenError_ = told.LastOpenError();
  }
  return status;
}
