#pragma once

#include "image/SeriesPlan.h"
#include "link/opu/OpuLinkOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

// The command line for bench set-ups: one operation a run, without a window.
enum class CliOperation { Read, Write, Verify, ChangeCode, Check, Show, Series };

// What a run ends with. Scripts rely on these numbers; --help, the manual page and the README
// list them.
enum CliExitCode : int {
  ExitSuccess = 0,
  ExitFailed = 1,       // the operation failed; its message says why
  ExitUsage = 2,        // the command line was wrong
  ExitDifferences = 3,  // the verification found fields the pendant did not keep
  ExitNoOpu = 4,        // no OPU could be reached
  ExitCancelled = 130,  // Ctrl+C
};

struct CliCommand {
  CliOperation operation = CliOperation::Read;
  QString file;     // write, verify, show, series: the configuration file
  QString outFile;  // read --out
  QString newCode;  // write --new-code, change-code NEW
  bool verify = false;
  bool json = false;
  bool dryRun = false;
  bool pendant = false;  // check --pendant: also listen for the pendant's button
  // series: how many pendants, and where their codes come from (neither: each keeps its own).
  int count = 0;
  std::optional<CodeSequence> sequence;
  QString listFile;
  bool stopOnFailure = false;  // otherwise a failed pendant is put aside and the series goes on
  // The window's questions, answered in advance: the warning about fewer than 12 identical
  // measurements and the question whether to give the pendant the new code.
  bool acceptFewMeasurements = false;
  bool confirmNewCode = false;
  // The warning before a write that switches off an alarm function of a known pendant.
  bool acceptAlarmChanges = false;
  bool serviceMode = false;  // -SERVICE: the inactivity limit as the raw count
  // Who and for whom, for the record lines: --technician (else the window's kept name), --site,
  // --resident.
  QString technician;
  QString site;
  QString resident;
  OpuLinkOptions link;
};

// A parsed command line: the command, the help text to print, or a refusal (exit code 2).
struct CliParse {
  std::optional<CliCommand> command;
  QString helpText;
  QString refusal;
};

// Whether the arguments (without the program's name) ask for an operation without a window: the
// first argument besides the link options and -SERVICE names one.
[[nodiscard]] bool IsCliInvocation(const QStringList& arguments);

[[nodiscard]] CliParse ParseCliArguments(const QStringList& arguments);
