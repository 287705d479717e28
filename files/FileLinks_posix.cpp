#include "files/FileLinks.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int OpenFlags(QIODevice::OpenMode mode) {
  const bool reads = mode.testFlag(QIODevice::ReadOnly);
  const bool writes = mode.testFlag(QIODevice::WriteOnly) || mode.testFlag(QIODevice::Append);
  // Non-blocking: a FIFO in the file's place must not hold the program in open().
  int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC |
              (reads && writes ? O_RDWR
               : writes        ? O_WRONLY
                               : O_RDONLY);
  if (writes && !mode.testFlag(QIODevice::ExistingOnly)) flags |= O_CREAT;
  if (mode.testFlag(QIODevice::Append)) flags |= O_APPEND;
  if (mode.testFlag(QIODevice::Truncate)) flags |= O_TRUNC;
  return flags;
}

mode_t ModeOf(QFileDevice::Permissions permissions) {
  mode_t mode = 0;
  if (permissions.testFlag(QFileDevice::ReadOwner)) mode |= S_IRUSR;
  if (permissions.testFlag(QFileDevice::WriteOwner)) mode |= S_IWUSR;
  if (permissions.testFlag(QFileDevice::ReadGroup)) mode |= S_IRGRP;
  if (permissions.testFlag(QFileDevice::WriteGroup)) mode |= S_IWGRP;
  if (permissions.testFlag(QFileDevice::ReadOther)) mode |= S_IROTH;
  if (permissions.testFlag(QFileDevice::WriteOther)) mode |= S_IWOTH;
  return mode;
}

}  // namespace

bool IsLink(const QString& path) {
  struct stat status {};
  return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
}

NoFollowOpen OpenWithoutFollowing(QFile& file, QIODevice::OpenMode mode,
                                  QFileDevice::Permissions permissions) {
  const int descriptor =
      ::open(QFile::encodeName(file.fileName()).constData(), OpenFlags(mode), ModeOf(permissions));
  if (descriptor < 0) {
    // A link in the last part of the path is refused with ELOOP.
    return errno == ELOOP && IsLink(file.fileName()) ? NoFollowOpen::IsLink : NoFollowOpen::Failed;
  }
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
      !file.open(descriptor, mode, QFileDevice::AutoCloseHandle)) {
    ::close(descriptor);
    return NoFollowOpen::Failed;
  }
  return NoFollowOpen::Opened;
}
