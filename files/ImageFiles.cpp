#include "files/ImageFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool ReadImageFile(const QString& path, ImageBytes& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const qint64 read = file.read(reinterpret_cast<char*>(bytes.data()), ImageSize);
  return read == ImageSize;
}

bool WriteImageFile(const ImageBytes& bytes, const QString& path) {
  return ReplaceFile(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), ImageSize));
}

qint64 FileSizeOf(const QString& path) {
  // The size comes from the file system, so a huge file is refused without being read.
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return 0;
  return file.size();
}

bool IsReadOnlyFile(const QString& path) {
  // Judged by the permission bits, not by access(2): root may write anything, yet a file the user
  // protected stays protected.
  const QFileInfo info(path);
  constexpr auto anyWrite =
      QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
  return info.exists() && (info.permissions() & anyWrite) == 0;
}

bool IsWriteProtected(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return false;
  return info.isDir() || !info.isWritable() || IsReadOnlyFile(path);
}

bool ReplaceFile(const QString& path, const QByteArray& content) {
  // Replacing by rename would pass over a read-only file, which a plain write could not open.
  if (IsWriteProtected(path)) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  // A file system without Unix permissions refuses the change; its files are as its mount says.
  (void)file.setPermissions(file.permissions() & FilePermissionLimit);
  if (file.write(content) != content.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}
