#include "files/ProgrammingRecord.h"

#include "files/FileLinks.h"
#include "files/ImageFiles.h"
#include "files/RecordChain.h"
#include "files/RecordFormat.h"
#include "image/CsvText.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <cstdlib>

namespace {

const QByteArray Bom = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray LineEnd = QByteArrayLiteral("\r\n");
// How long an append waits for another program's append to the same record.
constexpr int LockWaitMilliseconds = 5000;

// A spreadsheet runs a column that starts like a formula (a radio code comes from the OPU); the
// apostrophe keeps it text. A column that starts with the apostrophe gets one too, so that reading
// the record back can always take the first one off.
bool needsFormulaGuard(const QString& column) {
  static const QString starts = QStringLiteral("=+-@\t\r\n'");
  return !column.isEmpty() && starts.contains(column.front());
}

// Spreadsheets turn what looks like a number or a date into one: radio code 1E10 into 10000000000,
// 0123 into 123, the time into their own format. A text formula keeps such a column as written;
// a formula's text may hold 255 characters, and nothing longer looks like a number.
constexpr qsizetype LongestTextFormula = 255;
bool needsTextFormula(const QString& column) {
  return !column.isEmpty() && column.front().isDigit() && column.size() <= LongestTextFormula;
}

QString forSpreadsheet(const QString& column) {
  if (needsFormulaGuard(column)) return u'\'' + column;
  if (needsTextFormula(column)) {
    QString text = column;
    return QStringLiteral("=\"") + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
  }
  return column;
}

// The column as it was before forSpreadsheet.
QString fromSpreadsheet(const QString& written) {
  if (written.startsWith(u'\'')) return written.mid(1);
  if (written.size() >= 3 && written.startsWith(QStringLiteral("=\"")) && written.endsWith(u'"')) {
    QString text = written.mid(2, written.size() - 3);
    return text.replace(QStringLiteral("\"\""), QStringLiteral("\""));
  }
  return written;
}

}  // namespace

std::vector<QStringList> SplitRecordLines(const QByteArray& bytes) {
  const qsizetype start = bytes.startsWith(Bom) ? Bom.size() : 0;
  std::vector<QStringList> lines = SplitCsvLines(QString::fromUtf8(bytes.mid(start)));
  for (QStringList& columns : lines) {
    for (QString& column : columns) column = fromSpreadsheet(column);
  }
  return lines;
}

bool IsRecordHeadLine(const QStringList& columns, const QStringList& heads) {
  // A record begun before the series or the technician's columns came has a shorter head line;
  // one begun with the chain has the chain's head last.
  QStringList names = columns;
  if (!names.isEmpty() && names.back() == RecordChainHead) names.removeLast();
  return names.size() <= heads.size() && names == heads.mid(0, names.size());
}

RecordEntry RecordEntryOfLine(const QStringList& line) {
  QStringList columns = WithoutRecordChain(line);
  while (columns.size() < RecordHeads.size()) columns << QString();
  return {columns[0], columns[1], columns[2], columns[3],  columns[4],  columns[5], columns[6],
          columns[7], columns[8], columns[9], columns[10], columns[11], columns[12]};
}

namespace {

// An earlier write that stopped mid-line must not swallow the next line.
bool endsMidLine(QFile& file) {
  if (file.size() == 0) return false;
  char last = '\n';
  return file.seek(file.size() - 1) && file.getChar(&last) && last != '\n';
}

// The checksum the file's last line carries; empty when it has none (a new record, or one begun
// before the chain), so that the chain starts with the next line.
QByteArray lastChecksum(QFile& file) {
  const qint64 tail = std::min(file.size(), RecordTailReader::MaxRecordLineBytes + 2);
  if (tail == 0 || !file.seek(file.size() - tail)) return {};
  QByteArray bytes = file.read(tail);
  while (bytes.endsWith('\n') || bytes.endsWith('\r')) bytes.chop(1);
  const std::vector<QStringList> lines = SplitRecordLines(bytes.mid(bytes.lastIndexOf('\n') + 1));
  return lines.empty() ? QByteArray() : RecordChainChecksum(lines.back());
}

// A column on one line: the reader splits the record at every line end.
QString oneLine(QString column) {
  return column.replace(u'\r', u' ').replace(u'\n', u' ');
}

// The reader takes a line's first MaxRecordLineBytes; a longer line would lose its chain column,
// so the longest columns are cut short until the line fits.
void fitLine(QStringList& columns) {
  constexpr qsizetype ChainColumnBytes = 100;
  while (FormatRecordLine(columns).size() + ChainColumnBytes >
         RecordTailReader::MaxRecordLineBytes) {
    QString& longest =
        *std::max_element(columns.begin(), columns.end(),
                          [](const QString& a, const QString& b) { return a.size() < b.size(); });
    longest = longest.left(longest.size() / 2) + u'\u2026';
  }
}

}  // namespace

QStringList RecordColumns(const RecordEntry& entry) {
  return {entry.time,       entry.operation, entry.codeBefore, entry.codeAfter, entry.result,
          entry.message,    entry.backup,    entry.sha256,     entry.series,    entry.assignment,
          entry.technician, entry.site,      entry.resident};
}

bool RecordFilter::Passes(const RecordEntry& entry) const {
  if (!radioCode.isEmpty() && entry.codeBefore != radioCode && entry.codeAfter != radioCode)
    return false;
  if (!series.isEmpty() && entry.series != series) return false;
  if (!site.isEmpty() && entry.site != site) return false;
  if (from.isNull() && to.isNull()) return true;
  const QDate day = QDateTime::fromString(entry.time, Qt::ISODate).toLocalTime().date();
  return day.isValid() && (from.isNull() || day >= from) && (to.isNull() || day <= to);
}

QStringList RecordColumnHeads() {
  return RecordHeads;
}

QByteArray FormatRecordLine(const QStringList& columns) {
  QStringList texts;
  for (const QString& column : columns) texts << forSpreadsheet(column);
  return CsvLine(texts).toUtf8();
}

std::vector<RecordEntry> ParseRecord(const QByteArray& bytes) {
  std::vector<RecordEntry> entries;
  const QStringList heads = RecordColumnHeads();
  for (const QStringList& columns : SplitRecordLines(bytes)) {
    if (!IsRecordHeadLine(columns, heads)) entries.push_back(RecordEntryOfLine(columns));
  }
  return entries;
}

QByteArray RecordCsvBytes(const std::vector<RecordEntry>& entries) {
  QByteArray bytes = Bom + FormatRecordLine(RecordColumnHeads()) + LineEnd;
  for (const RecordEntry& entry : entries)
    bytes += FormatRecordLine(RecordColumns(entry)) + LineEnd;
  return bytes;
}

bool AppendRecordEntry(const QString& path, const RecordEntry& entry) {
  RecordEntry oneLineEntry = entry;
  for (QString* column : {&oneLineEntry.message, &oneLineEntry.technician, &oneLineEntry.site,
                          &oneLineEntry.resident})
    *column = column->simplified();
  QStringList columns;
  for (const QString& column : RecordColumns(oneLineEntry)) columns << oneLine(column);
  fitLine(columns);
  // The checksum covers the columns as the record reads them back.
  columns = SplitRecordLines(FormatRecordLine(columns)).front();
  // Two programs appending at once would both chain to the same line; the lock keeps them apart.
  // Without it (a lock that cannot be had) the line is still written: a fork in the chain shows
  // in the record window, a lost line would not.
  QLockFile lock(path + QStringLiteral(".lock"));
  (void)lock.tryLock(LockWaitMilliseconds);
  QFile file(path);
  // Appended, never replaced: earlier lines stay as they are even when another program appends too.
  // A link in the record's place would carry every line into another file.
  if (OpenWithoutFollowing(file, QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered,
                           FilePermissionLimit) != NoFollowOpen::Opened) {
    return false;
  }
  QByteArray bytes;
  if (file.size() == 0) {
    bytes = Bom + FormatRecordLine(RecordColumnHeads() << RecordChainHead) + LineEnd;
  } else if (endsMidLine(file)) {
    bytes = LineEnd;
  }
  columns << RecordChainColumn(lastChecksum(file), columns);
  bytes += FormatRecordLine(columns) + LineEnd;
  // One unbuffered write of the whole line: two programs appending at once never interleave
  // within a line, and a full disk shows here. Half a line that did not fit is taken back.
  const qint64 sizeBefore = file.size();
  if (file.write(bytes) == bytes.size()) {
    file.close();
    return file.error() == QFileDevice::NoError;
  }
  (void)file.resize(sizeBefore);
  return false;
}

std::optional<std::vector<RecordEntry>> ReadRecordFile(const QString& path) {
  if (!QFileInfo::exists(path) && !IsLink(path)) return std::vector<RecordEntry>{};
  QFile file(path);
  if (OpenWithoutFollowing(file, QIODevice::ReadOnly, {}) != NoFollowOpen::Opened ||
      file.size() > RecordTailReader::LargestRecordRead) {
    return std::nullopt;
  }
  return ParseRecord(file.readAll());
}

bool RecordTailReader::Open(const QString& path) {
  heads_ = RecordColumnHeads();
  file_.close();
  first_ = position_ = 0;
  if (!QFileInfo::exists(path) && !IsLink(path)) return true;
  file_.setFileName(path);
  if (OpenWithoutFollowing(file_, QIODevice::ReadOnly, {}) != NoFollowOpen::Opened) return false;
  position_ = file_.size();
  first_ = std::max<qint64>(0, position_ - LargestRecordRead);
  return true;
}

std::vector<RecordEntry> RecordTailReader::ReadOlder(qint64 bytes) {
  constexpr qint64 BlockBytes = 1024 * 1024;
  std::vector<RecordEntry> entries;
  const qint64 readFrom = position_;
  qint64 lineEnd = position_;  // the end of the line whose start is looked for
  qint64 scanEnd = position_;  // the bytes from here to lineEnd hold no line end
  // The byte before position_ ends the older line; it starts no line of its own.
  if (scanEnd > first_) --scanEnd;
  while (lineEnd > first_) {
    const qint64 blockStart = std::max(first_, scanEnd - BlockBytes);
    const QByteArray block =
        file_.seek(blockStart) ? file_.read(scanEnd - blockStart) : QByteArray();
    if (block.size() != scanEnd - blockStart) {
      position_ = first_;  // what cannot be read ends the reading; the entries so far stand
      return entries;
    }
    for (qsizetype at = block.lastIndexOf('\n'); at >= 0;
         at = at > 0 ? block.lastIndexOf('\n', at - 1) : -1) {
      const qint64 lineStart = blockStart + at + 1;
      AddLine(LineAt(lineStart, lineEnd, block, blockStart), entries);
      position_ = lineEnd = lineStart;
      if (readFrom - lineStart >= bytes) return entries;
    }
    scanEnd = blockStart;
    if (blockStart == 0) {
      AddLine(LineAt(0, lineEnd, block, 0), entries);
    } else if (blockStart > first_) {
      continue;
    }
    // At the file's start the first line is whole; at the read limit it is cut and left out.
    position_ = lineEnd = first_;
  }
  return entries;
}

QByteArray RecordTailReader::LineAt(qint64 start, qint64 end, const QByteArray& block,
                                    qint64 blockStart) {
  const qint64 length = std::min(end - start, MaxRecordLineBytes);
  if (start >= blockStart && start + length <= blockStart + block.size())
    return block.mid(start - blockStart, length);
  // A line that started before this block: only its first bytes are read.
  if (!file_.seek(start)) return {};
  return file_.read(length);
}

void RecordTailReader::AddLine(const QByteArray& line, std::vector<RecordEntry>& entries) const {
  for (const QStringList& columns : SplitRecordLines(line)) {
    if (!IsRecordHeadLine(columns, heads_)) entries.push_back(RecordEntryOfLine(columns));
  }
}

QString RecordTime(const QDateTime& time) {
  // The offset is written out for UTC too ("+00:00", not "Z"), so every line reads alike.
  const int offsetMinutes = time.offsetFromUtc() / 60;
  const QChar sign = offsetMinutes < 0 ? u'-' : u'+';
  return time.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) + sign +
         QStringLiteral("%1:%2")
             .arg(std::abs(offsetMinutes) / 60, 2, 10, QChar(u'0'))
             .arg(std::abs(offsetMinutes) % 60, 2, 10, QChar(u'0'));
}

QString RecordTimeShown(const QString& recordTime) {
  const QDateTime time = QDateTime::fromString(recordTime, Qt::ISODate);
  return time.isValid() ? time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))
                        : recordTime;
}

QString Sha256Hex(const ImageBytes& bytes) {
  return QString::fromLatin1(
      QCryptographicHash::hash(QByteArrayView(bytes.data(), ImageSize), QCryptographicHash::Sha256)
          .toHex());
}

QString RecordOperationName(OperationKind kind) {
  switch (kind) {
    case OperationKind::Read:
      return RecordOperationRead;
    case OperationKind::Write:
      return RecordOperationWrite;
    case OperationKind::ChangeCode:
      return RecordOperationChangeCode;
    case OperationKind::Verify:
      return RecordOperationVerify;
  }
  return QString();
}
