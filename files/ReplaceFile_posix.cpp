#include "files/ImageFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A descriptor closed once, by whoever holds it last.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  [[nodiscard]] int get() const { return fd_; }
  // Closes now; false when the system reports that the data did not reach the file.
  [[nodiscard]] bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Every byte at the offset, or false. A full disk, a quota or the file-size limit show here
// (ENOSPC, EDQUOT, EFBIG) or at fsync, never as success.
bool writeAllAt(int fd, const QByteArray& content, off_t offset) {
  const char* data = content.constData();
  qsizetype left = content.size();
  while (left > 0) {
    const ssize_t written = ::pwrite(fd, data, static_cast<size_t>(left), offset);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    left -= written;
    offset += written;
  }
  return true;
}

// The content is the file's whole content and is on the disk.
bool storeContent(int fd, const QByteArray& content) {
  return writeAllAt(fd, content, 0) && ::ftruncate(fd, content.size()) == 0 && ::fsync(fd) == 0;
}

mode_t userDefaultMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

mode_t limitedMode(mode_t mode) {
  return mode & static_cast<mode_t>(S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH);
}

void syncFolder(const QByteArray& folder) {
  // The rename is kept by the folder; a file system that cannot sync a folder loses nothing here.
  const Descriptor directory(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.get() >= 0) (void)::fsync(directory.get());
}

enum class Replaced { Done, Failed, NoTemporaryFile };

// A temporary file beside the target, then a rename: a failed write never touches the old file.
// The new file gets the old one's owner, group and (limited) mode; where the temporary file
// cannot take them (another user's file in a shared folder), the caller writes in place.
Replaced replaceByRename(const QByteArray& target, const struct stat* existing,
                         const QByteArray& content) {
  const QFileInfo info(QFile::decodeName(target));
  QByteArray pattern = QFile::encodeName(info.path() + QStringLiteral("/.") + info.fileName()) +
                       QByteArrayLiteral(".XXXXXX");
  Descriptor file(::mkostemp(pattern.data(), O_CLOEXEC));
  if (file.get() < 0) return Replaced::NoTemporaryFile;
  const mode_t mode = limitedMode(existing ? existing->st_mode : userDefaultMode());
  const bool sameOwner = !existing || ::fchown(file.get(), existing->st_uid, existing->st_gid) == 0;
  if (!sameOwner || ::fchmod(file.get(), mode) != 0) {
    (void)file.Close();
    ::unlink(pattern.constData());
    return Replaced::NoTemporaryFile;
  }
  if (!storeContent(file.get(), content) || !file.Close() ||
      ::rename(pattern.constData(), target.constData()) != 0) {
    ::unlink(pattern.constData());
    return Replaced::Failed;
  }
  syncFolder(QFile::encodeName(info.path()));
  return Replaced::Done;
}

// The existing file written where it is, for a folder that takes no new file or a file the
// temporary one cannot stand in for. The old content is read first and put back when the new
// one does not reach the disk.
bool replaceInPlace(const QByteArray& target, const QByteArray& content) {
  Descriptor file(::open(target.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
  if (file.get() < 0) return false;
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  QByteArray old(static_cast<qsizetype>(status.st_size), '\0');
  if (::pread(file.get(), old.data(), static_cast<size_t>(old.size()), 0) != old.size()) {
    return false;
  }
  if (storeContent(file.get(), content)) return file.Close();
  (void)storeContent(file.get(), old);
  return false;
}

}  // namespace

bool ReplaceFile(const QString& path, const QByteArray& content) {
  // Replacing by rename would pass over a read-only file, which a plain write could not open.
  if (IsWriteProtected(path)) return false;
  // A symbolic link stays a link: its target is what gets replaced.
  const QFileInfo info(path);
  const QByteArray target = QFile::encodeName(info.isSymLink() ? info.canonicalFilePath() : path);
  struct stat existing {};
  const bool exists = ::stat(target.constData(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) return false;
  switch (replaceByRename(target, exists ? &existing : nullptr, content)) {
    case Replaced::Done:
      return true;
    case Replaced::Failed:
      return false;
    case Replaced::NoTemporaryFile:
      return exists && replaceInPlace(target, content);
  }
  return false;
}

void KeepRunningPastFileSizeLimit() {
  std::signal(SIGXFSZ, SIG_IGN);
}
