#pragma once

#include "files/Backups.h"
#include "image/OperationOutcome.h"
#include "image/VembaData.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
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
  QString series = {};      // the series the operation belongs to; empty outside a series
  QString assignment = {};  // the series unit's line of the assignment list
  QString technician = {};  // who ran the operation
  QString site = {};        // for whom: the site and the resident or room there
  QString resident = {};

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

// Reads a record file from its end, the newest lines first, a part at a time, so that a window
// shows the newest entries at once and takes the older ones as they come. Of a line only its
// first MaxRecordLineBytes are read (the rest is skipped unread), and only the newest
// LargestRecordRead bytes of the file are read at all. A line end inside quotes (which the program
// never writes) ends the line here.
class RecordTailReader {
 public:
  static constexpr qint64 MaxRecordLineBytes = 4096;
  static constexpr qint64 LargestRecordRead = qint64{64} * 1024 * 1024;

  // False when the file exists but cannot be read; a missing file reads as an empty record.
  [[nodiscard]] bool Open(const QString& path);
  // The entries of the lines before those read so far, newest first, reading about `bytes` of the
  // file (at least one line's worth).
  [[nodiscard]] std::vector<RecordEntry> ReadOlder(qint64 bytes);
  // Every line that will be read has been.
  [[nodiscard]] bool AtStart() const { return position_ <= first_; }
  // The file holds older lines than the newest LargestRecordRead bytes, which are not read.
  [[nodiscard]] bool LeavesOlderLines() const { return first_ > 0; }

 private:
  [[nodiscard]] QByteArray LineAt(qint64 start, qint64 end, const QByteArray& block,
                                  qint64 blockStart);
  void AddLine(const QByteArray& line, std::vector<RecordEntry>& entries) const;

  QFile file_;
  QStringList heads_;
  qint64 first_ = 0;     // where reading stops
  qint64 position_ = 0;  // the start of the line read last: everything before it is still unread
};

[[nodiscard]] QString RecordTime(const QDateTime& time);
[[nodiscard]] QString Sha256Hex(const ImageBytes& bytes);

// The operation's name in the record's operation column ("Lesen", "Schreiben", ...).
[[nodiscard]] QString RecordOperationName(OperationKind kind);

// Writes the backup of a read or write (in the folder of the code after the operation), then the
// record line that names it, stamped with the outcome's time. The status texts of what could not
// be written, in that order; the operation's outcome never depends on them.
[[nodiscard]] QStringList KeepOperation(const QString& dataFolder, const OperationOutcome& outcome);
