#include "app/ParentConsole.h"

#include <cstdio>

#include <windows.h>

void WriteToParentConsole() {
  // Output redirected to a file or a pipe already has its handle.
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output != nullptr && output != INVALID_HANDLE_VALUE) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  (void)std::freopen("CONOUT$", "w", stdout);
  (void)std::freopen("CONOUT$", "w", stderr);
}
