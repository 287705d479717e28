#include "support/NonRegularFiles.h"

#include <QFile>

#include <sys/stat.h>

bool MakeUnwrittenPipe(const QString& path) {
  return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool FileSystemKeepsModeBits() {
  return true;
}
