#include "app/copy/RunningCopy.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QString>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int messageWaitMs = 2000;
constexpr qsizetype largestMessage = 1 << 20;

// The user's runtime folder (private to the user, emptied at log-out), else a folder of the
// user's own in the temporary folder, made private; empty when neither can be trusted.
QString placeFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return runtime;
  const QString own = QDir::tempPath() + QStringLiteral("/ukova-programmer-%1").arg(getuid());
  const QByteArray path = QFile::encodeName(own);
  (void)::mkdir(path.constData(), 0700);
  struct stat status {};
  if (::lstat(path.constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
      status.st_uid != getuid() || (status.st_mode & 077) != 0) {
    return {};
  }
  return own;
}

// One place per desktop login: the display the program shows its window on.
QString placePath() {
  const QString folder = placeFolder();
  if (folder.isEmpty()) return {};
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
  display.replace(u'/', u'_');
  return folder + QStringLiteral("/ukova-programmer%1.socket")
                      .arg(display.isEmpty() ? QString() : u'-' + display);
}

bool addressOf(const QString& path, sockaddr_un& address) {
  const QByteArray name = QFile::encodeName(path);
  address = {};
  address.sun_family = AF_UNIX;
  if (name.size() >= static_cast<qsizetype>(sizeof(address.sun_path))) return false;
  std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
  return true;
}

bool waitForBytes(int fd) {
  pollfd watched{fd, POLLIN, 0};
  int ready = 0;
  do {
    ready = ::poll(&watched, 1, messageWaitMs);
  } while (ready < 0 && errno == EINTR);
  return ready > 0;
}

// Reads what a later start sent, up to its end; empty when it stalls or is too long.
QByteArray readMessage(int connection) {
  QByteArray message;
  char buffer[4096];
  while (waitForBytes(connection)) {
    const ssize_t count = ::read(connection, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return count == 0 ? message : QByteArray();
    message.append(buffer, count);
    if (message.size() > largestMessage) return {};
  }
  return {};
}

// Only a start of the same user is heard: the runtime folder is private, and the peer is checked.
bool fromThisUser(int connection) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
         peer.uid == getuid();
}

class SocketPlace final : public RunningCopyPlace {
 public:
  SocketPlace(int lock, int listening, QString path)
      : lock_(lock), listening_(listening), path_(std::move(path)) {}
  ~SocketPlace() override {
    delete notifier_;
    ::unlink(QFile::encodeName(path_).constData());
    ::close(listening_);
    ::close(lock_);
  }
  SocketPlace(const SocketPlace&) = delete;
  SocketPlace& operator=(const SocketPlace&) = delete;

  void Listen(std::function<void(const QByteArray&)> receive) override {
    receive_ = std::move(receive);
    notifier_ = new QSocketNotifier(listening_, QSocketNotifier::Read);
    QObject::connect(notifier_, &QSocketNotifier::activated, [this] { accept(); });
  }

 private:
  void accept() {
    const int connection = ::accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) return;
    const QByteArray message = fromThisUser(connection) ? readMessage(connection) : QByteArray();
    ::close(connection);
    if (!message.isEmpty() && receive_) receive_(message);
  }

  int lock_;
  int listening_;
  QString path_;
  QSocketNotifier* notifier_ = nullptr;
  std::function<void(const QByteArray&)> receive_;
};

bool writeAll(int fd, const QByteArray& bytes) {
  qsizetype written = 0;
  while (written < bytes.size()) {
    // A copy that ends meanwhile must not end this process by SIGPIPE.
    const ssize_t count = ::send(fd, bytes.constData() + written,
                                 static_cast<size_t>(bytes.size() - written), MSG_NOSIGNAL);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += count;
  }
  return true;
}

}  // namespace

std::unique_ptr<RunningCopyPlace> ClaimRunningCopyPlace() {
  const QString path = placePath();
  sockaddr_un address{};
  if (path.isEmpty() || !addressOf(path, address)) return nullptr;
  // The lock is held for the whole run and falls with the process, however it ends: a socket
  // file left by a crashed copy is then replaced.
  const int lock = ::open(QFile::encodeName(path + QStringLiteral(".lock")).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock < 0) return nullptr;
  if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
    ::close(lock);
    return nullptr;
  }
  ::unlink(address.sun_path);
  const int listening = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listening < 0 ||
      ::bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listening, 8) != 0) {
    if (listening >= 0) ::close(listening);
    ::close(lock);
    return nullptr;
  }
  return std::make_unique<SocketPlace>(lock, listening, path);
}

bool SendToRunningCopy(const QByteArray& message) {
  sockaddr_un address{};
  if (!addressOf(placePath(), address)) return false;
  // The running copy may hold the lock and not yet listen: it is starting up.
  for (int attempt = 0; attempt < 20; ++attempt) {
    const int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connection < 0) return false;
    if (::connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      ::close(connection);
      QThread::msleep(100);
      continue;
    }
    // Once written, the message waits in the socket for the running copy, however busy it is.
    const bool taken = writeAll(connection, message);
    ::close(connection);
    return taken;
  }
  return false;
}
