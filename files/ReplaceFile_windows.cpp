// Windows: the new content goes to a temporary file beside the old one, reaches the disk, and
// then takes the old one's name in one step; the old file's access list stays with the folder's.
#include "files/ImageFiles.h"

#include <QFileInfo>
#include <QSaveFile>

bool ReplaceFile(const QString& path, const QByteArray& content) {
  if (IsWriteProtected(path)) return false;
  const QFileInfo info(path);
  if (info.exists() && !info.isFile()) return false;
  QSaveFile file(path);
  // A folder that takes no new file still lets the existing one be written where it is.
  file.setDirectWriteFallback(true);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(content) != content.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

// Windows has no file-size limit signal: a write that does not fit fails on its own.
void KeepRunningPastFileSizeLimit() {}
