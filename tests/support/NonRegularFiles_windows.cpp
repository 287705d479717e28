#include "support/NonRegularFiles.h"

bool MakeUnwrittenPipe(const QString& /*path*/) {
  return false;
}

bool FileSystemKeepsModeBits() {
  return false;
}
