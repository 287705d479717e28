#pragma once

#include "cli/CliArguments.h"
#include "cli/CliOutput.h"

class CancelSignal;

// series FILE --count N [--codes START:STEP | --list FILE.csv]: the window's series loop at the
// bench. Each pendant is identified, written with its planned code, read back and compared by the
// same operations as in the window; its line (or JSON object) is printed as soon as it is done,
// and the report returned is the summary.
[[nodiscard]] CliReport RunSeriesAtBench(const CliCommand& command, CancelSignal& cancel);
