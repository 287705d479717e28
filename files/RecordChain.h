#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Every line the program appends to the record ends in a column that chains it to the line before:
// the first eight hex digits of the previous line's checksum, a colon, and the line's checksum, the
// SHA-256 (hex) over the previous line's checksum and every other column of the line. A line
// edited, deleted or inserted afterwards breaks the chain there. Lines written before the chain
// began have no such column; they are taken as they are, and the chain starts after them.

// The chain column of a line with these columns (every column but the chain column itself),
// following a line whose checksum is `previous` (empty: the chain starts with this line).
[[nodiscard]] QString RecordChainColumn(const QByteArray& previous, const QStringList& columns);
// The checksum the line's chain column carries; empty when its last column is no chain column.
[[nodiscard]] QByteArray RecordChainChecksum(const QStringList& columns);
// The line's columns without its chain column, if it has one.
[[nodiscard]] QStringList WithoutRecordChain(QStringList columns);

// What a check of the chain found.
struct RecordChainState {
  enum class Break {
    None,
    Edited,      // the line no longer matches its checksum
    Deleted,     // the line does not follow the line before it: lines between were taken out
    Inserted,    // the line is no part of the chain, the next line follows the one before it
    NoChecksum,  // a line without chain column after the chain began: inserted or changed
  };
  Break kind = Break::None;
  qint64 line = 0;              // the breaking line's number, as the lines were numbered
  QStringList columns;          // that line's columns
  qint64 checkedLines = 0;      // lines whose checksum held
  qint64 linesBeforeChain = 0;  // lines without chain column before the chain began
};

// Checks the chain line by line in file order, keeping only the last checksum, so that a record
// of any length is checked in one pass. Head lines are passed over.
class RecordChainCheck {
 public:
  // fromStart: the first line given is the file's first; otherwise its predecessor was not read,
  // and the first chained line is taken as it is.
  explicit RecordChainCheck(bool fromStart = true);

  // Takes the next line; false once the chain has broken (later lines are not looked at).
  bool Add(qint64 number, const QStringList& columns);
  // No more lines: a line still waiting for its successor is judged alone.
  void Finish();
  [[nodiscard]] const RecordChainState& State() const { return state_; }

 private:
  // A line that does not follow the line before it; whether it was inserted shows on the next.
  struct Suspect {
    qint64 number;
    QStringList columns;
    RecordChainState::Break kind;
    QByteArray previous;  // the checksum of the line before it
  };

  void Break(qint64 number, const QStringList& columns, RecordChainState::Break kind);
  // The chained line is the last one taken; `before` is the checksum it followed.
  void Take(qint64 number, const QStringList& columns, const QByteArray& checksum,
            const QByteArray& before);

  QStringList heads_;
  bool fromStart_;
  bool started_ = false;
  QByteArray previous_;        // the checksum of the last chained line
  QByteArray beforePrevious_;  // the checksum that line followed; empty when unknown
  qint64 previousNumber_ = 0;
  QStringList previousColumns_;
  std::optional<Suspect> suspect_;
  RecordChainState state_;
};

// The chain of whole lines (each line's columns, numbered from 1) in file order.
[[nodiscard]] RecordChainState CheckRecordChain(const std::vector<QStringList>& lines);

// Checks the chain of a record file from a given byte on, a part at a time, numbering the lines
// from there (from 1 at the file's start). Of a line only its first MaxRecordLineBytes are read,
// as the record window reads it.
class RecordChainReader {
 public:
  // From `from` on: at the file's start, or at the first line that begins after `from`. False when
  // the file exists but cannot be read; a missing file has an intact, empty chain.
  [[nodiscard]] bool Open(const QString& path, qint64 from);
  // Checks about `bytes` more of the file.
  void CheckFurther(qint64 bytes);
  [[nodiscard]] bool Done() const { return done_; }
  [[nodiscard]] const RecordChainState& State() const { return check_.State(); }
  // The file's bytes before the first line checked.
  [[nodiscard]] qint64 UncheckedBytes() const { return from_; }

 private:
  void TakeLine(const QByteArray& line);

  QFile file_;
  RecordChainCheck check_;
  qint64 from_ = 0;
  qint64 position_ = 0;
  qint64 end_ = 0;
  qint64 number_ = 0;
  bool skipping_ = false;  // within a line longer than a line is read, or before the first line
  bool done_ = true;
};
