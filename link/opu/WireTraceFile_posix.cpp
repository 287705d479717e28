#include "link/opu/WireTraceFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

WireTrace::File::File(const QString& path) {
  const int descriptor =
      ::open(QFile::encodeName(path).constData(),
             O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (descriptor < 0) {
    problem = QString::fromLocal8Bit(std::strerror(errno));
    return;
  }
  handle = descriptor;
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    problem = QString::fromLocal8Bit(std::strerror(EINVAL));
    Stop();
  }
}

void WireTrace::File::Stop() {
  if (handle >= 0) ::close(static_cast<int>(handle));
  handle = -1;
}

void WireTrace::File::Append(const QByteArray& line) {
  if (handle < 0) return;
  const int descriptor = static_cast<int>(handle);
  ssize_t written = -1;
  do {
    written = ::write(descriptor, line.constData(), static_cast<size_t>(line.size()));
  } while (written < 0 && errno == EINTR);
  if (written == line.size()) return;
  problem = QString::fromLocal8Bit(std::strerror(written < 0 ? errno : ENOSPC));
  // Half a line would read as a line the OPU never sent.
  if (written > 0) {
    const off_t end = ::lseek(descriptor, 0, SEEK_END);
    if (end >= written) (void)::ftruncate(descriptor, end - written);
  }
  Stop();
}
