#include "tools/opu-sim/OpuSimServer.h"

#include "link/opu/OpuFrame.h"
#include "link/opu/WireTrace.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

OpuSimServer::OpuSimServer(OpuSimulator& simulator, Log log)
    : simulator_(simulator), log_(std::move(log)) {}

OpuSimServer::~OpuSimServer() {
  Stop();
}

bool OpuSimServer::Start() {
  hungUp_ = false;
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return false;
  portPath_ = QString::fromLocal8Bit(::ptsname(master_));
  // A pseudo-terminal starts cooked and echoing, and its master sees a hang-up whenever no one
  // holds the slave open: keep one raw slave open while serving.
  slave_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY | O_NONBLOCK);
  termios raw{};
  if (slave_ < 0 || ::tcgetattr(slave_, &raw) != 0) return false;
  ::cfmakeraw(&raw);
  if (::tcsetattr(slave_, TCSANOW, &raw) != 0 || ::pipe(wake_) != 0) return false;
  if (!portLink_.isEmpty() && !QFile::link(portPath_, portLink_)) return false;
  thread_ = std::thread([this] { Serve(); });
  Note(QStringLiteral("serving on ") + portPath_);
  return true;
}

void OpuSimServer::Stop() {
  if (thread_.joinable()) {
    const char stop = 's';
    (void)!::write(wake_[1], &stop, 1);
    thread_.join();
  }
  for (int* fd : {&master_, &slave_, &wake_[0], &wake_[1]}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
  if (!portLink_.isEmpty()) QFile::remove(portLink_);
}

OpuSimulator::Clock::time_point OpuSimServer::LastAnswerTime() const {
  const std::lock_guard lock(timeMutex_);
  return lastAnswerTime_;
}

void OpuSimServer::Serve() {
  QByteArray pending;
  while (true) {
    pollfd watched[2] = {{wake_[0], POLLIN, 0}, {hungUp_ ? -1 : master_, POLLIN, 0}};
    if (::poll(watched, 2, -1) < 0 && errno != EINTR) return;
    if (watched[0].revents != 0) return;
    if ((watched[1].revents & POLLIN) == 0) continue;
    char bytes[256];
    const ssize_t got = ::read(master_, bytes, sizeof bytes);
    if (got <= 0) continue;
    pending.append(bytes, got);
    TakeFrames(pending);
  }
}

void OpuSimServer::TakeFrames(QByteArray& pending) {
  while (!hungUp_) {
    const qsizetype start = pending.indexOf(STX);
    if (start < 0) {
      pending.clear();
      return;
    }
    const qsizetype end = pending.indexOf(ETX, start);
    if (end < 0) {
      pending.remove(0, start);
      return;
    }
    const QByteArray frame = pending.mid(start, end - start + 1);
    pending.remove(0, end + 1);
    const QByteArray command = frame.mid(1, frame.size() - 4);
    if (frame.size() < 4 || FramedText(command) != frame) {
      Note(QStringLiteral("<- bad frame ") + WireTrace::Describe(frame));
      continue;
    }
    Note(QStringLiteral("<- ") + QString::fromLatin1(command));
    Send(simulator_.Answer(command));
  }
}

void OpuSimServer::Send(const OpuSimReply& reply) {
  // The port goes before the answer: a program that has its answer and opens the port again at
  // once must find it gone, however slowly this thread runs.
  if (reply.portGone && !portLink_.isEmpty()) {
    QFile::remove(portLink_);
    Note(QStringLiteral("-- port gone"));
  }
  if (reply.pieces.empty() && !reply.hangUp) Note(QStringLiteral("-> (silence)"));
  for (const auto& [pause, bytes] : reply.pieces) {
    if (!PauseFor(pause)) return;
    if (::write(master_, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size())
      Note(QStringLiteral("-> write failed"));
    {
      const std::lock_guard lock(timeMutex_);
      lastAnswerTime_ = OpuSimulator::Clock::now();
    }
    Note(QStringLiteral("-> ") + WireTrace::Describe(bytes));
  }
  if (reply.hangUp) HangUp();
}

bool OpuSimServer::PauseFor(int milliseconds) {
  if (milliseconds <= 0) return true;
  pollfd wake{wake_[0], POLLIN, 0};
  return ::poll(&wake, 1, milliseconds) == 0;
}

void OpuSimServer::HangUp() {
  // Closing the master hangs the line up for whoever holds the port open.
  ::close(master_);
  ::close(slave_);
  master_ = -1;
  slave_ = -1;
  hungUp_ = true;
  Note(QStringLiteral("-- hung up"));
}

void OpuSimServer::Note(const QString& line) const {
  if (log_) log_(line);
}
