#pragma once

#include "cli/CliArguments.h"
#include "cli/CliOutput.h"

class CancelSignal;

// check: the connection check's steps, one line each with its mark and explanation; with
// --pendant also the wait for the pendant's button. Nothing is written.
[[nodiscard]] CliReport RunCheck(const CliCommand& command, CancelSignal& cancel);
