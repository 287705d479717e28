#include "support/FileSizeLimit.h"

#include <csignal>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

std::optional<bool> InChildWithFileSizeLimit(std::uint64_t limit, const std::function<bool()>& step,
                                             bool ignoreLimitSignal) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (ignoreLimitSignal) std::signal(SIGXFSZ, SIG_IGN);
    const rlimit bound{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
    ::setrlimit(RLIMIT_FSIZE, &bound);
    ::_exit(step() ? 1 : 0);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
    return std::nullopt;
  }
  return WEXITSTATUS(status) == 1;
}

bool PlatformLimitsFileSize() {
  return true;
}
