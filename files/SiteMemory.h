#pragma once

#include "image/OperationOutcome.h"
#include "image/SeriesPlan.h"

#include <QString>

#include <optional>
#include <vector>

// For whom each pendant was last programmed: the site and the resident or room recorded with its
// code, so that the next operation on it names them without typing. "Zuordnungen.csv" in the data
// folder, an assignment list (files/AssignmentListFile.h) that a spreadsheet and the series window
// open as well. It lies beside the record and the backups, not in Values.ini, which an upgrade
// replaces and which is no place for a line per pendant.
inline const QString SiteMemoryFileName = QStringLiteral("Zuordnungen.csv");

// The line of `list` for the pendant with `code`; none when the list names it nowhere.
[[nodiscard]] std::optional<Assignment> AssignmentFor(const std::vector<Assignment>& list,
                                                      const QString& code);

// The site and resident last recorded for `code`; none when none were or the file cannot be read.
[[nodiscard]] std::optional<Assignment> RecalledAssignment(const QString& dataFolder,
                                                           const QString& code);

// Records the site and resident of `entry` for its code (the line's note stays), and drops the line
// of `formerCode`, which after a code change names no pendant. True when nothing needed writing;
// false when the file could not be read or written: its lines then stay as they were.
[[nodiscard]] bool RememberAssignment(const QString& dataFolder, const Assignment& entry,
                                      const QString& formerCode = {});

// The code an operation leaves its pendant answering to: the one after it, else the one it was
// identified by; empty when no pendant was identified.
[[nodiscard]] QString PendantCodeOf(const OperationOutcome& outcome);

// What was recorded for the operation's pendant, by the code it was identified by, else the one
// it has now.
[[nodiscard]] std::optional<Assignment> RecalledFor(const QString& dataFolder,
                                                    const OperationOutcome& outcome);

// Remembers the site and resident of a kept line for its pendant, moved along with a code change.
// The status text of a failure; empty when they were kept or there was nothing to keep.
[[nodiscard]] QString RememberRecipientOf(const QString& dataFolder,
                                          const OperationOutcome& outcome);
