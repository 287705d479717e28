#include "files/ProgramVersion.h"

QString ProgramVersionOf(const std::optional<ProgramVersionInfo>& record) {
  if (!record || !record->FileVersion) return {};
  return *record->FileVersion;
}

QString GetProgramVersion() {
  return ProgramVersionOf(CompiledProgramVersionInfo());
}

const std::optional<QString>& BuildVersionIn(const ProgramVersionInfo& record) {
  return record.ProductVersion ? record.ProductVersion : record.FileVersion;
}

QString BuildVersionOf(const std::optional<ProgramVersionInfo>& record) {
  if (!record) return {};
  return BuildVersionIn(*record).value_or(QString());
}

QString GetBuildVersion() {
  return BuildVersionOf(CompiledProgramVersionInfo());
}
