#include "link/opu/WireTrace.h"

#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The trace file of one path, shared by every link of the program.
struct WireTrace::File {
  explicit File(const QString& path) {
    descriptor = ::open(QFile::encodeName(path).constData(),
                        O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (descriptor < 0) {
      problem = QString::fromLocal8Bit(std::strerror(errno));
      return;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
      problem = QString::fromLocal8Bit(std::strerror(EINVAL));
      Stop();
    }
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() { Stop(); }

  void Stop() {
    if (descriptor >= 0) ::close(descriptor);
    descriptor = -1;
  }

  // The whole line or, after the first that did not reach the file, nothing more.
  void Append(const QByteArray& line) {
    if (descriptor < 0) return;
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

  int descriptor = -1;
  QString problem;
};

namespace {

std::shared_ptr<WireTrace::File> sharedFile(const QString& path) {
  static std::map<QString, std::weak_ptr<WireTrace::File>> open;
  if (auto file = open[path].lock()) return file;
  auto file = std::make_shared<WireTrace::File>(path);
  open[path] = file;
  return file;
}

}  // namespace

WireTrace::WireTrace(const QString& path) : file_(path.isEmpty() ? nullptr : sharedFile(path)) {}

QString WireTrace::Problem() const {
  return file_ ? file_->problem : QString();
}

void WireTrace::Sent(const QByteArray& bytes) const {
  Append(QStringLiteral("sent     ") + Describe(bytes));
}

void WireTrace::Received(const QByteArray& bytes) const {
  Append(QStringLiteral("received ") + Describe(bytes));
}

void WireTrace::DeadlinePassed(int heldBytes) const {
  Append(QStringLiteral("deadline passed with %1 byte(s) held").arg(heldBytes));
}

void WireTrace::Note(const QString& event) const {
  Append(event);
}

QString WireTrace::Describe(const QByteArray& bytes) {
  QString printable;
  for (const char byte : bytes)
    printable += (byte >= 0x20 && byte < 0x7F) ? QChar::fromLatin1(byte) : QChar(u'.');
  return QString::fromLatin1(bytes.toHex(' ').toUpper()) + QStringLiteral("  ") + printable;
}

void WireTrace::Append(const QString& line) const {
  if (!IsEnabled()) return;
  const QString stamp =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
  file_->Append((stamp + QLatin1Char(' ') + line + QLatin1Char('\n')).toUtf8());
}
