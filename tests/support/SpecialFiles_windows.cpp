#include "support/SpecialFiles.h"

bool MakeUnwrittenPipe(const QString& /*path*/) {
  return false;
}

bool FileSystemKeepsModeBits() {
  return false;
}
