// The version record of the program file (its VERSIONINFO resource), read back as Windows
// Explorer shows it.
#include "files/ProgramVersion.h"

#include <vector>

#include <windows.h>

namespace {

// One value of the record's first language, absent when the record does not carry it.
std::optional<QString> RecordValue(const std::vector<char>& record, const QString& language,
                                   const QString& name) {
  const QString path = QStringLiteral("\\StringFileInfo\\%1\\%2").arg(language, name);
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(record.data(), reinterpret_cast<const wchar_t*>(path.utf16()), &value,
                      &length) ||
      value == nullptr)
    return std::nullopt;
  // The length counts the terminating zero, which an empty value consists of.
  return QString::fromWCharArray(static_cast<const wchar_t*>(value)).left(length);
}

}  // namespace

std::optional<ProgramVersionInfo> CompiledProgramVersionInfo() {
  std::vector<wchar_t> program(MAX_PATH);
  while (GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size())) ==
         program.size())
    program.resize(program.size() * 2);
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeW(program.data(), &unused);
  if (size == 0) return std::nullopt;
  std::vector<char> record(size);
  if (!GetFileVersionInfoW(program.data(), 0, size, record.data())) return std::nullopt;
  struct Translation {
    WORD language;
    WORD codePage;
  };
  void* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", &translations, &length) ||
      length < sizeof(Translation))
    return std::nullopt;
  const auto* first = static_cast<const Translation*>(translations);
  const QString language = QStringLiteral("%1%2")
                               .arg(first->language, 4, 16, QLatin1Char('0'))
                               .arg(first->codePage, 4, 16, QLatin1Char('0'));
  return ProgramVersionInfo{RecordValue(record, language, QStringLiteral("FileDescription")),
                            RecordValue(record, language, QStringLiteral("FileVersion")),
                            RecordValue(record, language, QStringLiteral("Comments")),
                            RecordValue(record, language, QStringLiteral("ProductVersion"))};
}
