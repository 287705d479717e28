// Windows: a reparse point (symbolic link, junction) is found by its attribute just before the
// file is opened; a link planted between the look and the open is not caught, which needs another
// user to have write access to the data folder in the first place.
#include "files/FileLinks.h"

#include <QDir>

#include <windows.h>

bool IsLink(const QString& path) {
  const QString native = QDir::toNativeSeparators(path);
  const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(native.utf16()));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

NoFollowOpen OpenWithoutFollowing(QFile& file, QIODevice::OpenMode mode,
                                  QFileDevice::Permissions permissions) {
  if (IsLink(file.fileName())) return NoFollowOpen::IsLink;
  return file.open(mode, permissions) ? NoFollowOpen::Opened : NoFollowOpen::Failed;
}
