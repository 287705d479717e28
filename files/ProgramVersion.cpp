#include "files/ProgramVersion.h"

std::optional<ProgramVersionInfo> CompiledProgramVersionInfo() {
#ifdef UKOVA_FILE_VERSION
  return ProgramVersionInfo{QStringLiteral("U-KOVA Programmer"), QStringLiteral(UKOVA_FILE_VERSION),
                            QString()};
#else
  return std::nullopt;
#endif
}

QString ProgramVersionOf(const std::optional<ProgramVersionInfo>& record) {
  if (!record || !record->FileVersion) return {};
  return *record->FileVersion;
}

QString GetProgramVersion() {
  return ProgramVersionOf(CompiledProgramVersionInfo());
}
