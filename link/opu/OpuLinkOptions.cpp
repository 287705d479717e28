#include "link/opu/OpuLinkOptions.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

const QString PortPrefix = QStringLiteral("--opu-port=");
const QString TracePrefix = QStringLiteral("--opu-trace=");

QMutex optionsMutex;
OpuLinkOptions programOptions;

}  // namespace

void SetOpuLinkOptions(const OpuLinkOptions& options) {
  const QMutexLocker lock(&optionsMutex);
  programOptions = options;
}

OpuLinkOptions CurrentOpuLinkOptions() {
  const QMutexLocker lock(&optionsMutex);
  return programOptions;
}

OpuLinkOptions ParseOpuLinkOptions(const QStringList& arguments) {
  OpuLinkOptions options;
  for (const QString& argument : arguments) {
    if (argument.startsWith(PortPrefix)) options.portPath = argument.mid(PortPrefix.size());
    if (argument.startsWith(TracePrefix)) options.traceFile = argument.mid(TracePrefix.size());
  }
  return options;
}

bool IsOpuLinkOption(const QString& argument) {
  return argument.startsWith(PortPrefix) || argument.startsWith(TracePrefix);
}
