#pragma once

#include <QString>

#include <optional>

// The version record compiled into the program. A value that the record does not carry is
// absent, which is not the same as present and empty (an empty Comments still counts).
struct ProgramVersionInfo {
  std::optional<QString> FileDescription;
  std::optional<QString> FileVersion;
  std::optional<QString> Comments;
};

// The program's own record; absent when the program was built without one.
[[nodiscard]] std::optional<ProgramVersionInfo> CompiledProgramVersionInfo();
// FileVersion of the record, empty when the record or the value is absent.
[[nodiscard]] QString ProgramVersionOf(const std::optional<ProgramVersionInfo>& record);
// FileVersion of the program's own record ("1.2.1.123"), empty when unavailable.
[[nodiscard]] QString GetProgramVersion();
