#pragma once

#include "files/Backups.h"
#include "image/OperationOutcome.h"
#include "image/VembaData.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The programming record: one line per finished transmitter operation, appended to
// "Protokoll.csv" in the data folder as German spreadsheets read it (UTF-8 with BOM, ";" between
// columns, quotes where needed). Earlier lines are never rewritten.

inline const QString RecordFileName = QStringLiteral("Protokoll.csv");
inline const QString ResultOk = QStringLiteral("OK");

// One line of the record file, column by column, as the record window reads it back.
struct RecordEntry {
  QString time;  // ISO 8601 with the offset from UTC
  QString operation;
  QString codeBefore;
  QString codeAfter;
  QString result;   // "OK" or the number of the message the operation ended with
  QString message;  // that message's text, on one line; for OK empty, or that the backup is missing
  QString backup;   // the backup's path below the data folder; empty when none was kept
  QString sha256;   // of the 256 bytes read or sent, in hex; empty when none

  bool operator==(const RecordEntry&) const = default;
};

// The column heads, from the text table; the record's first line and the window's heads.
[[nodiscard]] QStringList RecordColumnHeads();

// An entry's columns in the order of the heads.
[[nodiscard]] QStringList RecordColumns(const RecordEntry& entry);

// One line of the file, without its line end.
[[nodiscard]] QByteArray FormatRecordLine(const QStringList& columns);
// The entries of a record file's bytes, in file order, the head line left out. A line cut short
// gets empty columns; nothing is refused.
[[nodiscard]] std::vector<RecordEntry> ParseRecord(const QByteArray& bytes);

// Appends one line; a new file first gets the BOM and the head line. False when the file cannot
// be written.
[[nodiscard]] bool AppendRecordEntry(const QString& path, const RecordEntry& entry);
// The record's entries; none when the file does not exist, nothing when it cannot be read.
[[nodiscard]] std::optional<std::vector<RecordEntry>> ReadRecordFile(const QString& path);

[[nodiscard]] QString RecordTime(const QDateTime& time);
[[nodiscard]] QString Sha256Hex(const ImageBytes& bytes);

// The operation's name in the record's operation column ("Lesen", "Schreiben", ...).
[[nodiscard]] QString RecordOperationName(OperationKind kind);

// Writes the backup of a read or write (in the folder of the code after the operation), then the
// record line that names it, stamped with the outcome's time. The status texts of what could not
// be written, in that order; the operation's outcome never depends on them.
[[nodiscard]] QStringList KeepOperation(const QString& dataFolder, const OperationOutcome& outcome);
