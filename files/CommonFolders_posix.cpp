// On Linux the common folders are the user's own: a home is not shared with other users.
#include "files/CommonFolders.h"
#include "files/DataFolders.h"
#include "files/ImageFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace {

// The user's own data or documents folder. A fresh account may not have it yet; it is made as
// the desktop would make it, because the fallback, the program folder, is not writable once the
// program is installed.
QString userFolder(QStandardPaths::StandardLocation location) {
  const QString folder = QStandardPaths::writableLocation(location);
  if (folder.isEmpty()) return folder;
  // Each missing level, from the top, with the same permissions as the program's own folders.
  QStringList missing;
  for (QString level = folder; !QFileInfo::exists(level) && level != QFileInfo(level).path();
       level = QFileInfo(level).path()) {
    missing.prepend(level);
  }
  for (const QString& level : missing) CreateFolderIfMissing(level);
  return folder;
}

}  // namespace

QString CommonDataBase() {
  return userFolder(QStandardPaths::GenericDataLocation);
}

QString CommonDocumentsBase() {
  return userFolder(QStandardPaths::DocumentsLocation);
}

void CreateProgramFolder(const QString& path) {
  // The process's umask narrows the limit further, but a umask of 000 never widens it.
  QDir().mkdir(path, FolderPermissionLimit);
}
