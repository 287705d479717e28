#pragma once

#include <QString>

#include <optional>

// The version record compiled into the program. A value that the record does not carry is
// absent, which is not the same as present and empty (an empty Comments still counts).
struct ProgramVersionInfo {
  std::optional<QString> FileDescription;
  std::optional<QString> FileVersion;
  std::optional<QString> Comments;
  // The version of the build: FileVersion and the count of commits it was built from.
  std::optional<QString> ProductVersion = std::nullopt;
};

// The program's own record; absent when the program was built without one.
[[nodiscard]] std::optional<ProgramVersionInfo> CompiledProgramVersionInfo();
// FileVersion of the record, empty when the record or the value is absent.
[[nodiscard]] QString ProgramVersionOf(const std::optional<ProgramVersionInfo>& record);
// FileVersion of the program's own record ("1.2.1.123"), empty when unavailable.
[[nodiscard]] QString GetProgramVersion();
// The version the build is known by ("1.2.1.123+git197"), as --version, About and the packages name
// it: ProductVersion of the record, its FileVersion in a record without one (an older program).
[[nodiscard]] const std::optional<QString>& BuildVersionIn(const ProgramVersionInfo& record);
// The same, empty when the record or both values are absent.
[[nodiscard]] QString BuildVersionOf(const std::optional<ProgramVersionInfo>& record);
// The version of this build, from the program's own record.
[[nodiscard]] QString GetBuildVersion();
