#pragma once

#include <QByteArray>

#include <functional>
#include <memory>

// The place where the one running copy of the program for this user and desktop login listens
// for later starts: a socket in the user's runtime folder on Linux, a named pipe of the login
// session on Windows. The first start claims it for its whole run; a later start sends it its
// arguments and ends.
class RunningCopyPlace {
 public:
  virtual ~RunningCopyPlace() = default;
  // From now on, every message a later start sends arrives here, in the event loop.
  virtual void Listen(std::function<void(const QByteArray&)> receive) = 0;
};

// Claims the place for this process; none when another copy holds it (or the place cannot be
// made, then the program runs on its own).
[[nodiscard]] std::unique_ptr<RunningCopyPlace> ClaimRunningCopyPlace();

// Hands `message` to the copy that holds the place; false when no copy took it.
[[nodiscard]] bool SendToRunningCopy(const QByteArray& message);
