#pragma once

#include <cstdint>
#include <functional>
#include <optional>

// Runs the step in a child process that may not make any file larger than `limit` bytes: what a
// full disk or a quota does to a write, without root or a mount. The step's answer; absent when
// the child did not end by itself, or where the platform has no such limit (Windows). Unless told
// otherwise the child ignores the signal of the limit, so that the write fails with EFBIG instead
// of ending the process.
[[nodiscard]] std::optional<bool> InChildWithFileSizeLimit(std::uint64_t limit,
                                                           const std::function<bool()>& step,
                                                           bool ignoreLimitSignal = true);

// Whether the platform limits the size of a process's files (Linux does; Windows does not).
[[nodiscard]] bool PlatformLimitsFileSize();
