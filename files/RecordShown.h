#pragma once

#include "files/ProgrammingRecord.h"
#include "files/RecordChain.h"

#include <QString>
#include <QStringList>

// The programming record as people read it: the record window's texts and what its commands
// decide, as values, so that whichever front end shows the record shows it alike.

// A column longer than this many characters is shown cut short, ending in "…".
inline constexpr int LongestRecordCellShown = 120;

// The columns the window treats apart, by their place in RecordColumns.
enum RecordColumn {
  RecordTimeColumn = 0,
  RecordOperationColumn = 1,
  RecordCodeBeforeColumn = 2,
  RecordCodeAfterColumn = 3,
  RecordResultColumn = 4,
  RecordMessageColumn = 5
};

// The columns' heads as the window shows them, in the order of RecordColumns.
[[nodiscard]] QStringList RecordColumnHeadsShown();
// The text a cell shows: the time in local German form, the result with its message, a long
// column cut short.
[[nodiscard]] QString RecordCellShown(const RecordEntry& entry, int column);

// "1 Eintrag", "n Einträge".
[[nodiscard]] QString RecordEntryCountText(qsizetype count);
// The count of entries shown, and whether older ones are still being read or are left unread.
[[nodiscard]] QString RecordCountShown(qsizetype count, bool stillReading, bool leavesOlderLines);

// What the check of the chain found, as the window says it.
struct RecordChainFinding {
  QString line;     // lasting above the table
  QString warning;  // said once in a box; empty while the chain holds
};
// `done`: every line has been checked; `uncheckedBytes`: the file's bytes before the first line
// checked, whose lines are not numbered.
[[nodiscard]] RecordChainFinding RecordChainFindingOf(const RecordChainState& state, bool done,
                                                      qint64 uncheckedBytes);

// The backup of an entry the user chose to open in the main window: its full path, or why it is
// not opened.
struct RecordBackupChoice {
  QString path;     // empty when refused
  QString refusal;  // the message that says why
};
[[nodiscard]] RecordBackupChoice RecordBackupToOpen(const QString& dataFolder,
                                                    const QString& backup);
