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

bool OpenFirstOf(const QStringList& ports, const PortOpener& openPort, OpenFailure& failure,
                 QString& error) {
  failure = {};
  error.clear();
  for (const QString& port : ports) {
    OpenFailure attempt;
    QString attemptError;
    if (openPort(port, attempt, attemptError)) return true;
    if (FailureRank(attempt.kind) > FailureRank(failure.kind)) {
      failure = attempt;
      error = attemptError;
    }
  }
  return false;
}
