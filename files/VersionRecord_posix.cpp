// Linux programs carry no version record of their own: the build compiles it in.
#include "files/ProgramVersion.h"

std::optional<ProgramVersionInfo> CompiledProgramVersionInfo() {
#ifdef UKOVA_FILE_VERSION
  return ProgramVersionInfo{QStringLiteral("U-KOVA Programmer"), QStringLiteral(UKOVA_FILE_VERSION),
                            QString(), QStringLiteral(UKOVA_BUILD_VERSION)};
#else
  return std::nullopt;
#endif
}
