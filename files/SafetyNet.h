#pragma once

#include "image/OperationOutcome.h"
#include "image/SeriesPlan.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What the program keeps of every finished transmitter operation, whichever front end ran it: the
// backup of the bytes read or sent (files/Backups.h) and the record line that names it
// (files/ProgrammingRecord.h).

// Writes the backup of a read or write (in the folder of the code after the operation), then the
// record line that names it, stamped with the outcome's time. The status texts of what could not
// be written, in that order; the operation's outcome never depends on them.
[[nodiscard]] QStringList KeepOperation(const QString& dataFolder, const OperationOutcome& outcome);

// For whom an operation's line is kept, by the same rule in every front end: the site and resident
// the technician gave for this operation (`given`: the window's strip, the command line's
// options); else the line of an open assignment list for the pendant's code, else what was
// recorded for its code the last time. A series' unit that names its own (from its list line)
// keeps it, and takes nothing from earlier lines: its code may have been another pendant's.
[[nodiscard]] OperationOutcome StampRecipient(const QString& dataFolder,
                                              const OperationOutcome& outcome,
                                              const std::optional<Assignment>& given,
                                              const std::vector<Assignment>& openList);

// Keeps the operation (KeepOperation), then remembers its site and resident for the pendant's
// code (files/SiteMemory.h); the status texts of what could not be written.
[[nodiscard]] QStringList KeepOutcome(const QString& dataFolder, const OperationOutcome& outcome);
