#include "fuzz/FuzzInput.h"

#include <cstdio>
#include <cstdlib>

void FuzzFailure(const char* what, const QString& detail) {
  std::fprintf(stderr, "property does not hold: %s\n%s\n", what, qPrintable(detail));
  std::abort();
}
