#pragma once

#include "files/RecordFormat.h"
#include "image/OperationOutcome.h"
#include "image/VembaData.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The programming record: one line per finished transmitter operation, appended to
// "Protokoll.csv" in the data folder as German spreadsheets read it (UTF-8 with BOM, ";" between
// columns, quotes where needed). Earlier lines are never rewritten; each line ends in a checksum
// that chains it to the line before (files/RecordChain.h), so that a line edited, deleted or
// inserted afterwards shows.

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

// Which entries a window shows or an export holds; an empty part passes every entry.
struct RecordFilter {
  QString radioCode = {};  // before or after the operation
  QString series = {};
  QString site = {};
  QDate from = {};  // the first and the last day, local time; null: no bound
  QDate to = {};

  [[nodiscard]] bool Passes(const RecordEntry& entry) const;
};

// The column heads of an entry as the file writes them (files/RecordFormat.h). The record's first
// line has the chain's head after them.
[[nodiscard]] QStringList RecordColumnHeads();
// Whether a line is a record's head line: the heads, or the first of them (a record begun before
// later columns came), with or without the chain's head.
[[nodiscard]] bool IsRecordHeadLine(const QStringList& columns, const QStringList& heads);

// An entry's columns in the order of the heads.
[[nodiscard]] QStringList RecordColumns(const RecordEntry& entry);

// One line of the file, without its line end.
[[nodiscard]] QByteArray FormatRecordLine(const QStringList& columns);
// The columns of every line of the bytes; quoted columns may hold separators, quotes and line ends.
[[nodiscard]] std::vector<QStringList> SplitRecordLines(const QByteArray& bytes);
// The entry of one line's columns; a line cut short gets empty columns.
[[nodiscard]] RecordEntry RecordEntryOfLine(const QStringList& columns);
// The entries of a record file's bytes, in file order, the head line left out. A line cut short
// gets empty columns; nothing is refused.
[[nodiscard]] std::vector<RecordEntry> ParseRecord(const QByteArray& bytes);

// The bytes of a record file that holds these entries without chain: a part of the record.
[[nodiscard]] QByteArray RecordCsvBytes(const std::vector<RecordEntry>& entries);

// Appends one line, chained to the file's last line; a new file first gets the BOM and the head
// line. Line ends in a column become blanks, and a line too long for the reader gets its longest
// columns cut short. False when the file cannot be written.
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
  // Where the lines read begin: the line that begins after this byte, or the file's start.
  [[nodiscard]] qint64 FirstByteRead() const { return first_; }

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
// A record's time as German readers write it, in the local time zone ("07.12.2026 14:03:22");
// a text that is no time stays as it is.
[[nodiscard]] QString RecordTimeShown(const QString& recordTime);
[[nodiscard]] QString Sha256Hex(const ImageBytes& bytes);

// The operation's name in the record's operation column ("Lesen", "Schreiben", ...).
[[nodiscard]] QString RecordOperationName(OperationKind kind);
