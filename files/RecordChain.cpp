#include "files/RecordChain.h"

#include "files/ProgrammingRecord.h"

#include <QCryptographicHash>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr qsizetype PrefixDigits = 8;
constexpr qsizetype ChecksumDigits = 64;
constexpr char PrefixEnd = ':';
// What the first line of a chain follows.
const QByteArray ChainStart(ChecksumDigits, '0');

bool isLowerHex(QByteArrayView digits) {
  return std::all_of(digits.begin(), digits.end(), [](char digit) {
    return (digit >= '0' && digit <= '9') || (digit >= 'a' && digit <= 'f');
  });
}

struct ChainLink {
  QByteArray previousPrefix;
  QByteArray checksum;
};

std::optional<ChainLink> linkOf(const QStringList& columns) {
  if (columns.isEmpty()) return std::nullopt;
  const QByteArray column = columns.back().toLatin1();
  if (column.size() != PrefixDigits + 1 + ChecksumDigits || column.at(PrefixDigits) != PrefixEnd)
    return std::nullopt;
  ChainLink link{column.left(PrefixDigits), column.mid(PrefixDigits + 1)};
  if (!isLowerHex(link.previousPrefix) || !isLowerHex(link.checksum)) return std::nullopt;
  return link;
}

QByteArray checksumOf(const QByteArray& previous, const QStringList& columns) {
  return QCryptographicHash::hash(
             FormatRecordLine(QStringList{QString::fromLatin1(previous)} + columns),
             QCryptographicHash::Sha256)
      .toHex();
}

// Whether the line, chained, follows a line with this checksum.
bool follows(const QStringList& columns, const std::optional<ChainLink>& link,
             const QByteArray& previous) {
  return link && link->previousPrefix == previous.left(PrefixDigits) &&
         link->checksum == checksumOf(previous, WithoutRecordChain(columns));
}

}  // namespace

QString RecordChainColumn(const QByteArray& previous, const QStringList& columns) {
  const QByteArray before = previous.isEmpty() ? ChainStart : previous;
  return QString::fromLatin1(before.left(PrefixDigits) + PrefixEnd + checksumOf(before, columns));
}

QByteArray RecordChainChecksum(const QStringList& columns) {
  const std::optional<ChainLink> link = linkOf(columns);
  return link ? link->checksum : QByteArray();
}

QStringList WithoutRecordChain(QStringList columns) {
  if (linkOf(columns)) columns.removeLast();
  return columns;
}

RecordChainCheck::RecordChainCheck(bool fromStart)
    : heads_(RecordColumnHeads()), fromStart_(fromStart) {}

void RecordChainCheck::Break(qint64 number, const QStringList& columns,
                             RecordChainState::Break kind) {
  state_.kind = kind;
  state_.line = number;
  state_.columns = columns;
  suspect_.reset();
}

bool RecordChainCheck::Add(qint64 number, const QStringList& columns) {
  using enum RecordChainState::Break;
  if (state_.kind != None) return false;
  if (IsRecordHeadLine(columns, heads_)) return true;
  const std::optional<ChainLink> link = linkOf(columns);
  if (suspect_) {
    // The line after a suspect follows the line before it: the suspect was put in between.
    Break(suspect_->number, suspect_->columns,
          follows(columns, link, suspect_->previous) ? Inserted : suspect_->kind);
    return false;
  }
  if (!link) {
    if (!started_) {
      ++state_.linesBeforeChain;
    } else {
      suspect_ = Suspect{number, columns, NoChecksum, previous_};
    }
    return true;
  }
  if (!started_ && !fromStart_) {
    // The line before it was not read: the chain is checked from the next line on.
    Take(number, columns, link->checksum, {});
    return true;
  }
  const QByteArray before = started_ ? previous_ : ChainStart;
  if (link->previousPrefix != before.left(PrefixDigits)) {
    // The line follows the one before its predecessor: the predecessor, though chained itself,
    // was put in between.
    if (follows(columns, link, beforePrevious_)) {
      Break(previousNumber_, previousColumns_, Inserted);
      return false;
    }
    suspect_ = Suspect{number, columns, Deleted, before};
    Take(number, columns, link->checksum, before);
    return true;
  }
  if (link->checksum != checksumOf(before, WithoutRecordChain(columns))) {
    Break(number, columns, Edited);
    return false;
  }
  ++state_.checkedLines;
  Take(number, columns, link->checksum, before);
  return true;
}

void RecordChainCheck::Take(qint64 number, const QStringList& columns, const QByteArray& checksum,
                            const QByteArray& before) {
  started_ = true;
  beforePrevious_ = before;
  previous_ = checksum;
  previousNumber_ = number;
  previousColumns_ = columns;
}

void RecordChainCheck::Finish() {
  if (suspect_) Break(suspect_->number, suspect_->columns, suspect_->kind);
}

RecordChainState CheckRecordChain(const std::vector<QStringList>& lines) {
  RecordChainCheck check;
  qint64 number = 0;
  for (const QStringList& columns : lines) {
    if (!check.Add(++number, columns)) break;
  }
  check.Finish();
  return check.State();
}

bool RecordChainReader::Open(const QString& path, qint64 from) {
  file_.close();
  check_ = RecordChainCheck(from == 0);
  from_ = position_ = from;
  number_ = 0;
  skipping_ = from > 0;
  done_ = true;
  if (!QFileInfo::exists(path)) return true;
  file_.setFileName(path);
  if (!QFileInfo(path).isFile() || !file_.open(QIODevice::ReadOnly)) return false;
  end_ = file_.size();
  done_ = position_ >= end_;
  if (done_) check_.Finish();
  return true;
}

void RecordChainReader::CheckFurther(qint64 bytes) {
  if (done_) return;
  const qint64 length =
      std::min(std::max(bytes, 2 * RecordTailReader::MaxRecordLineBytes), end_ - position_);
  const QByteArray block = file_.seek(position_) ? file_.read(length) : QByteArray();
  if (block.size() != length) {
    // What cannot be read ends the check with what it found so far.
    done_ = true;
    check_.Finish();
    return;
  }
  const bool atEnd = position_ + length >= end_;
  qsizetype start = 0;
  while (start < block.size() && !done_) {
    const qsizetype lineEnd = block.indexOf('\n', start);
    if (lineEnd < 0) {
      const qsizetype rest = block.size() - start;
      // A line's start stays for the next part unless it is already longer than a line is read.
      if (atEnd || rest >= RecordTailReader::MaxRecordLineBytes) {
        if (!skipping_) TakeLine(block.mid(start, RecordTailReader::MaxRecordLineBytes));
        skipping_ = !atEnd;
        start = block.size();
      }
      break;
    }
    if (skipping_) {
      skipping_ = false;
    } else {
      TakeLine(
          block.mid(start, std::min(lineEnd + 1 - start, RecordTailReader::MaxRecordLineBytes)));
    }
    start = lineEnd + 1;
  }
  position_ += start;
  if (position_ >= end_ && !done_) {
    done_ = true;
    check_.Finish();
  }
}

void RecordChainReader::TakeLine(const QByteArray& line) {
  ++number_;
  const std::vector<QStringList> lines = SplitRecordLines(line);
  if (!lines.empty() && !check_.Add(number_, lines.front())) {
    done_ = true;
  }
}
