#include "link/opu/PortDriver.h"

namespace {

// How much telling the user about a failed open helps: a cause the user can put right first.
int FailureRank(OpenFailure::Kind kind) {
  switch (kind) {
    case OpenFailure::NoPermission:
      return 4;
    case OpenFailure::Busy:
      return 3;
    case OpenFailure::Other:
      return 2;
    case OpenFailure::NotFound:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

QStringList FindPortsByDescription(const QString& description,
                                   const std::vector<UsbSerialPort>& ports) {
  QStringList devices;
  for (const UsbSerialPort& port : ports) {
    if (port.product == description) devices << port.device;
  }
  return devices;
}

bool OpenOneOf(int openMode, const QString& description, const QStringList& ports,
               const PortOpener& openPort, OpenFailure& failure, QString& error) {
  failure = {};
  error.clear();
  if (openMode != OpuDriver::OpenByDescription) {
    error = QStringLiteral("unsupported open mode %1").arg(openMode);
    failure.kind = OpenFailure::Other;
    return false;
  }
  if (ports.isEmpty()) {
    error = QStringLiteral("no serial port reports the description \"%1\"").arg(description);
    failure.kind = OpenFailure::NotFound;
    return false;
  }
  OpenFailure told;
  QString toldError;
  for (const QString& port : ports) {
    if (openPort(port)) {
      failure = {};
      error.clear();
      return true;
    }
    if (FailureRank(failure.kind) > FailureRank(told.kind)) {
      told = failure;
      toldError = error;
    }
  }
  failure = told;
  error = toldError;
  return false;
}
