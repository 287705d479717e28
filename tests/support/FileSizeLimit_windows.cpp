#include "support/FileSizeLimit.h"

std::optional<bool> InChildWithFileSizeLimit(std::uint64_t /*limit*/,
                                             const std::function<bool()>& /*step*/,
                                             bool /*ignoreLimitSignal*/) {
  return std::nullopt;
}

bool PlatformLimitsFileSize() {
  return false;
}
