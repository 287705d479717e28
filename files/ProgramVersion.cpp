#include "files/ProgramVersion.h"

QString ProgramVersionOf(const std::optional<ProgramVersionInfo>& record) {
  if (!record || !record->FileVersion) return {};
  return *record->FileVersion;
}

QString GetProgramVersion() {
  return ProgramVersionOf(CompiledProgramVersionInfo());
}
