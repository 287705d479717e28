#include "app/copy/RunningCopy.h"

#include <QString>
#include <QWinEventNotifier>

#include <windows.h>

namespace {

constexpr DWORD messageWaitMs = 2000;
constexpr qsizetype largestMessage = 1 << 20;

// One pipe per user and login session.
std::wstring pipeName() {
  DWORD session = 0;
  (void)ProcessIdToSessionId(GetCurrentProcessId(), &session);
  wchar_t user[257] = {};
  DWORD size = 257;
  if (!GetUserNameW(user, &size)) user[0] = L'\0';
  return QStringLiteral("\\\\.\\pipe\\ukova-programmer-%1-%2")
      .arg(session)
      .arg(QString::fromWCharArray(user))
      .toStdWString();
}

class PipePlace final : public RunningCopyPlace {
 public:
  explicit PipePlace(HANDLE pipe)
      : pipe_(pipe), connected_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~PipePlace() override {
    delete notifier_;
    CancelIo(pipe_);
    CloseHandle(pipe_);
    CloseHandle(connected_);
  }
  PipePlace(const PipePlace&) = delete;
  PipePlace& operator=(const PipePlace&) = delete;

  void Listen(std::function<void(const QByteArray&)> receive) override {
    receive_ = std::move(receive);
    notifier_ = new QWinEventNotifier(connected_);
    QObject::connect(notifier_, &QWinEventNotifier::activated, [this] { take(); });
    awaitStart();
  }

 private:
  void awaitStart() {
    ResetEvent(connected_);
    connecting_ = {};
    connecting_.hEvent = connected_;
    if (ConnectNamedPipe(pipe_, &connecting_)) {
      SetEvent(connected_);
      return;
    }
    // A start that connected before the wait began has its own answer.
    if (GetLastError() == ERROR_PIPE_CONNECTED) SetEvent(connected_);
  }

  void take() {
    const QByteArray message = readMessage();
    DisconnectNamedPipe(pipe_);
    awaitStart();
    if (!message.isEmpty() && receive_) receive_(message);
  }

  // Reads what the later start sent, up to its end; empty when it stalls or is too long.
  QByteArray readMessage() {
    QByteArray message;
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    char buffer[4096];
    for (;;) {
      OVERLAPPED reading = {};
      reading.hEvent = done;
      DWORD count = 0;
      if (!ReadFile(pipe_, buffer, sizeof buffer, nullptr, &reading) &&
          GetLastError() != ERROR_IO_PENDING) {
        break;  // ERROR_BROKEN_PIPE: the start closed its end, the message is whole
      }
      if (WaitForSingleObject(done, messageWaitMs) != WAIT_OBJECT_0) {
        CancelIo(pipe_);
        message.clear();
        break;
      }
      if (!GetOverlappedResult(pipe_, &reading, &count, FALSE)) break;
      message.append(buffer, static_cast<qsizetype>(count));
      if (message.size() > largestMessage) {
        message.clear();
        break;
      }
    }
    CloseHandle(done);
    return message;
  }

  HANDLE pipe_;
  HANDLE connected_;
  OVERLAPPED connecting_ = {};
  QWinEventNotifier* notifier_ = nullptr;
  std::function<void(const QByteArray&)> receive_;
};

}  // namespace

std::unique_ptr<RunningCopyPlace> ClaimRunningCopyPlace() {
  // Only the first instance of the pipe may be created: that is the claim.
  HANDLE pipe =
      CreateNamedPipeW(pipeName().c_str(),
                       PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                       PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                       1, 0, 65536, 0, nullptr);
  if (pipe == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<PipePlace>(pipe);
}

bool SendToRunningCopy(const QByteArray& message) {
  const std::wstring name = pipeName();
  for (int attempt = 0; attempt < 20; ++attempt) {
    HANDLE pipe = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
      // The running copy is reading another start's message.
      if (GetLastError() != ERROR_PIPE_BUSY) return false;
      (void)WaitNamedPipeW(name.c_str(), 100);
      continue;
    }
    // The running copy comes to the front at this start's request.
    (void)AllowSetForegroundWindow(ASFW_ANY);
    DWORD written = 0;
    const bool taken = WriteFile(pipe, message.constData(), static_cast<DWORD>(message.size()),
                                 &written, nullptr) &&
                       written == static_cast<DWORD>(message.size());
    CloseHandle(pipe);
    return taken;
  }
  return false;
}
