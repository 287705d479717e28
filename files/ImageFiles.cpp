#include "files/ImageFiles.h"

#include <QFile>
#include <QFileInfo>

bool ReadImageFile(const QString& path, ImageBytes& bytes) {
  // A pipe or device named like a configuration file would block the open or the read.
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
  const qint64 read = file.read(reinterpret_cast<char*>(bytes.data()), ImageSize);
  return read == ImageSize;
}

bool WriteImageFile(const ImageBytes& bytes, const QString& path) {
  return ReplaceFile(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), ImageSize));
}

std::optional<Msg::Id> ReadConfigurationFile(const QString& path, ImageBytes& bytes) {
  if (FileSizeOf(path) != ImageSize) return Msg::WrongFileSize;
  if (!ReadImageFile(path, bytes)) return Msg::ConfigurationNotLoadable;
  return std::nullopt;
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
