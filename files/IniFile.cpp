#include "files/IniFile.h"

#include "image/VembaData.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>
#include <utility>
#include <vector>

namespace {

// One line of the file as byte offsets: [start, contentEnd) is the text, [contentEnd, end) the
// line end (empty on a last line without one).
struct LineSpan {
  qsizetype start = 0;
  qsizetype contentEnd = 0;
  qsizetype end = 0;
};

// Where a key stands in the file; -1 for what was not found.
struct KeyLocation {
  qsizetype sectionLine = -1;
  qsizetype lastFilledLineOfSection = -1;
  qsizetype keyLine = -1;
  qsizetype valueStart = 0;
  qsizetype valueEnd = 0;
};

const QByteArray utf8ByteOrderMark("\xEF\xBB\xBF");

std::vector<LineSpan> splitLines(const QByteArray& data) {
  std::vector<LineSpan> lines;
  qsizetype start = data.startsWith(utf8ByteOrderMark) ? utf8ByteOrderMark.size() : 0;
  while (start < data.size()) {
    LineSpan line{start, data.size(), data.size()};
    const qsizetype newline = data.indexOf('\n', start);
    if (newline >= 0) {
      line.end = newline + 1;
      line.contentEnd = newline > start && data.at(newline - 1) == '\r' ? newline - 1 : newline;
    }
    lines.push_back(line);
    start = line.end;
  }
  return lines;
}

bool isBlank(char character) {
  return character == ' ' || character == '\t';
}

qsizetype skipBlanks(const QByteArray& data, qsizetype from, qsizetype to) {
  while (from < to && isBlank(data.at(from))) ++from;
  return from;
}

qsizetype trimBlanksBefore(const QByteArray& data, qsizetype from, qsizetype to) {
  while (to > from && isBlank(data.at(to - 1))) --to;
  return to;
}

QString textBetween(const QByteArray& data, qsizetype from, qsizetype to) {
  return QString::fromUtf8(data.constData() + from, to - from);
}

bool sameName(const QString& left, const QString& right) {
  return left.compare(right, Qt::CaseInsensitive) == 0;
}

std::optional<QString> sectionNameOf(const QByteArray& data, const LineSpan& line) {
  const qsizetype first = skipBlanks(data, line.start, line.contentEnd);
  if (first >= line.contentEnd || data.at(first) != '[') return std::nullopt;
  const qsizetype close = data.indexOf(']', first);
  if (close < 0 || close >= line.contentEnd) return std::nullopt;
  return textBetween(data, first + 1, close).trimmed();
}

bool isComment(const QByteArray& data, const LineSpan& line) {
  const qsizetype first = skipBlanks(data, line.start, line.contentEnd);
  return first < line.contentEnd && (data.at(first) == ';' || data.at(first) == '#');
}

bool isFilled(const QByteArray& data, const LineSpan& line) {
  return skipBlanks(data, line.start, line.contentEnd) < line.contentEnd;
}

// Fills the key's place when the line is "key=value" for the key asked for.
bool matchKey(const QByteArray& data, const LineSpan& line, const QString& key,
              KeyLocation& location) {
  if (isComment(data, line)) return false;
  const qsizetype equals = data.indexOf('=', line.start);
  if (equals < 0 || equals >= line.contentEnd) return false;
  if (!sameName(textBetween(data, line.start, equals).trimmed(), key)) return false;
  location.valueStart = skipBlanks(data, equals + 1, line.contentEnd);
  location.valueEnd = trimBlanksBefore(data, location.valueStart, line.contentEnd);
  return true;
}

KeyLocation locate(const QByteArray& data, const std::vector<LineSpan>& lines,
                   const QString& section, const QString& key) {
  KeyLocation location;
  for (qsizetype index = 0; index < static_cast<qsizetype>(lines.size()); ++index) {
    const LineSpan& line = lines[static_cast<std::size_t>(index)];
    const std::optional<QString> header = sectionNameOf(data, line);
    if (location.sectionLine < 0) {
      if (header && sameName(*header, section)) {
        location.sectionLine = index;
        location.lastFilledLineOfSection = index;
      }
      continue;
    }
    if (header) break;  // the next section starts
    if (isFilled(data, line)) location.lastFilledLineOfSection = index;
    if (matchKey(data, line, key, location)) {
      location.keyLine = index;
      break;
    }
  }
  return location;
}

QByteArray lineEndOf(const std::vector<LineSpan>& lines, const QByteArray& data) {
  for (const LineSpan& line : lines) {
    if (line.end > line.contentEnd) return data.mid(line.contentEnd, line.end - line.contentEnd);
  }
  return QByteArrayLiteral("\r\n");
}

bool containsLineBreak(const QString& text) {
  return text.contains(u'\n') || text.contains(u'\r');
}

bool fitsOnOneLine(const QString& section, const QString& key, const QString& value) {
  const QString trimmedKey = key.trimmed();
  return !containsLineBreak(section) && !section.contains(u']') && !containsLineBreak(key) &&
         !trimmedKey.isEmpty() && !trimmedKey.contains(u'=') && !trimmedKey.startsWith(u'[') &&
         !trimmedKey.startsWith(u';') && !trimmedKey.startsWith(u'#') && !containsLineBreak(value);
}

// The file's bytes with the key set; the data as it was read, lines as split from it.
QByteArray withValue(QByteArray data, const QString& section, const QString& key,
                     const QString& value) {
  const std::vector<LineSpan> lines = splitLines(data);
  const QByteArray lineEnd = lineEndOf(lines, data);
  const KeyLocation location = locate(data, lines, section, key);
  if (location.keyLine >= 0) {
    return data.replace(location.valueStart, location.valueEnd - location.valueStart,
                        value.toUtf8());
  }
  const QByteArray keyLine = key.toUtf8() + '=' + value.toUtf8() + lineEnd;
  if (location.sectionLine >= 0) {
    const LineSpan& last = lines[static_cast<std::size_t>(location.lastFilledLineOfSection)];
    const QByteArray closeLast = last.end == last.contentEnd ? lineEnd : QByteArray();
    return data.insert(last.end, closeLast + keyLine);
  }
  if (!data.isEmpty() && !data.endsWith('\n')) data += lineEnd;
  return data + '[' + section.toUtf8() + ']' + lineEnd + keyLine;
}

std::optional<QByteArray> readWholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return data;
}

// What the file holds now for a write: empty for a file still to be created.
QByteArray currentContentForWrite(const QString& path) {
  if (!QFileInfo::exists(path)) return {};
  if (IsWriteProtected(path)) throw IniWriteError(path);
  const std::optional<QByteArray> data = readWholeFile(path);
  // Writing without the other lines would lose them.
  if (!data) throw IniWriteError(path);
  return *data;
}

void replaceFile(const QString& path, const QByteArray& data) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) throw IniWriteError(path);
  // The settings decide which factory image and folder every start uses.
  file.setPermissions(file.permissions() & ~QFileDevice::WriteOther);
  if (file.write(data) != data.size() || !file.commit()) throw IniWriteError(path);
}

}  // namespace

IniWriteError::IniWriteError(const QString& path)
    : std::runtime_error(QStringLiteral("Unable to write to %1").arg(path).toStdString()) {}

IniFile::IniFile(QString path) : filePath(std::move(path)) {}

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
  const std::optional<QByteArray> data = readWholeFile(filePath);
  if (!data) return defaultValue;
  const KeyLocation location = locate(*data, splitLines(*data), section, key);
  if (location.keyLine < 0) return defaultValue;
  return textBetween(*data, location.valueStart, location.valueEnd);
}

int IniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
  const QString text = ReadString(section, key).trimmed();
  bool isNumber = false;
  const int value = text.toInt(&isNumber, 10);
  return isNumber ? value : defaultValue;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) const {
  if (!fitsOnOneLine(section, key, value)) throw IniWriteError(filePath);
  replaceFile(filePath, withValue(currentContentForWrite(filePath), section, key, value));
}

bool IsWriteProtected(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return false;
  return info.isDir() || !info.isWritable() || VembaData::IsReadOnlyFile(path);
}
