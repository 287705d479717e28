#pragma once

#include "image/OperationOutcome.h"

#include <QString>
#include <QStringList>

// What the program keeps of every finished transmitter operation, whichever front end ran it: the
// backup of the bytes read or sent (files/Backups.h) and the record line that names it
// (files/ProgrammingRecord.h).

// Writes the backup of a read or write (in the folder of the code after the operation), then the
// record line that names it, stamped with the outcome's time. The status texts of what could not
// be written, in that order; the operation's outcome never depends on them.
[[nodiscard]] QStringList KeepOperation(const QString& dataFolder, const OperationOutcome& outcome);
