#include "link/opu/WindowsPorts.h"
#include "link/opu/WireTraceFile.h"

#include <QDir>

#include <windows.h>

namespace {

HANDLE HandleOf(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

WireTrace::File::File(const QString& path) {
  // Appending only; a link (reparse point) is opened as itself and then refused as no plain file.
  const QString native = QDir::toNativeSeparators(path);
  const HANDLE file =
      CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), FILE_APPEND_DATA,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    problem = WindowsErrorText(GetLastError());
    return;
  }
  handle = reinterpret_cast<std::intptr_t>(file);
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information) ||
      (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) !=
          0) {
    problem = WindowsErrorText(ERROR_INVALID_PARAMETER);
    Stop();
  }
}

void WireTrace::File::Stop() {
  if (handle != -1) CloseHandle(HandleOf(handle));
  handle = -1;
}

void WireTrace::File::Append(const QByteArray& line) {
  if (handle == -1) return;
  DWORD written = 0;
  if (WriteFile(HandleOf(handle), line.constData(), static_cast<DWORD>(line.size()), &written,
                nullptr) &&
      written == static_cast<DWORD>(line.size()))
    return;
  problem = WindowsErrorText(written == 0 ? GetLastError() : ERROR_DISK_FULL);
  // Half a line would read as a line the OPU never sent.
  if (written > 0) {
    LARGE_INTEGER end{};
    LARGE_INTEGER back{};
    back.QuadPart = -static_cast<LONGLONG>(written);
    if (SetFilePointerEx(HandleOf(handle), back, &end, FILE_END))
      (void)SetEndOfFile(HandleOf(handle));
  }
  Stop();
}
