#pragma once

#include <csignal>
#include <functional>
#include <optional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs the step in a child process that may not make any file larger than `limit` bytes: what a
// full disk or a quota does to a write, without root or a mount. The step's answer; absent when
// the child did not end by itself. Unless told otherwise the child ignores the signal of the limit,
// so that the write fails with EFBIG instead of ending the process.
inline std::optional<bool> InChildWithFileSizeLimit(rlim_t limit, const std::function<bool()>& step,
                                                    bool ignoreLimitSignal = true) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (ignoreLimitSignal) std::signal(SIGXFSZ, SIG_IGN);
    const rlimit bound{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &bound);
    ::_exit(step() ? 1 : 0);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
    return std::nullopt;
  }
  return WEXITSTATUS(status) == 1;
}
