#pragma once

#include "cli/CliArguments.h"
#include "cli/CliOutput.h"

class CancelSignal;

// read, write, verify and change-code: the window's transmitter operations, run against the
// command line's front end. Identification, both button presses, the checks, the backups and the
// record lines are the operations' own.
[[nodiscard]] CliReport RunTransmitterOperation(const CliCommand& command, CancelSignal& cancel);

// The exit code a run ends with after an operation's result number.
[[nodiscard]] int ExitCodeOfResult(int resultNumber);
