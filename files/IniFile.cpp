#include "files/IniFile.h"

#include "files/ImageFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace {

const QByteArray utf8ByteOrderMark("\xEF\xBB\xBF");
const QByteArray utf16LittleEndianMark("\xFF\xFE");
const QByteArray utf16BigEndianMark("\xFE\xFF");
// Bytes that are no UTF-8, in a comment the platform skips: a Windows-1252 file stays one.
const QByteArray windows1252Marker("; Windows-1252: \xE4\xF6\xFC\xDF");

bool isUtf16(IniEncoding encoding) {
  return encoding == IniEncoding::Utf16LittleEndian || encoding == IniEncoding::Utf16BigEndian;
}

QStringConverter::Encoding utf16Converter(IniEncoding encoding) {
  return encoding == IniEncoding::Utf16LittleEndian ? QStringConverter::Utf16LE
                                                    : QStringConverter::Utf16BE;
}

const QByteArray& byteOrderMarkOf(IniEncoding encoding) {
  return encoding == IniEncoding::Utf16LittleEndian ? utf16LittleEndianMark : utf16BigEndianMark;
}

bool isAscii(const QByteArray& bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

// What Windows-1252 puts at 0x80..0x9F; the five unassigned bytes stand for the C1 controls of the
// same value, as the platform reads them, so that every byte survives a round trip.
constexpr std::array<char16_t, 32> windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isBlank(char character) {
  return character == ' ' || character == '\t';
}

bool isLineEnd(char character) {
  return character == '\n' || character == '\r';
}

bool sameName(const QString& left, const QString& right) {
  return left.compare(right, Qt::CaseInsensitive) == 0;
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

// The platform's value: one pair of double quotes around the whole value is not part of it.
QString withoutSurroundingQuotes(const QString& value) {
  if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') {
    return value.mid(1, value.size() - 2);
  }
  return value;
}

// The platform's integer reading: sign, then digits up to the first other character, in 32-bit
// arithmetic that wraps as the platform's does.
int leadingNumber(const QString& text) {
  qsizetype position = 0;
  const bool negative = position < text.size() && text.at(position) == u'-';
  if (position < text.size() && (text.at(position) == u'-' || text.at(position) == u'+')) {
    ++position;
  }
  std::uint32_t value = 0;
  for (; position < text.size(); ++position) {
    const char16_t character = text.at(position).unicode();
    if (character < u'0' || character > u'9') break;
    value = value * 10U + static_cast<std::uint32_t>(character - u'0');
  }
  if (negative) value = 0U - value;
  return static_cast<int>(value);
}

}  // namespace

IniWriteError::IniWriteError(const QString& path)
    : std::runtime_error(QStringLiteral("Unable to write to %1")
                             .arg(QDir::toNativeSeparators(path))
                             .toStdString()) {}

IniEncoding DetectIniEncoding(const QByteArray& data) {
  if (data.startsWith(utf16LittleEndianMark)) return IniEncoding::Utf16LittleEndian;
  if (data.startsWith(utf16BigEndianMark)) return IniEncoding::Utf16BigEndian;
  // Invalid UTF-8 turns into U+FFFD, which does not give the same bytes back.
  const QString asUtf8 = DecodeIniText(data, IniEncoding::Utf8);
  return asUtf8.toUtf8() == data ? IniEncoding::Utf8 : IniEncoding::Windows1252;
}

QString DecodeIniText(const QByteArray& bytes, IniEncoding encoding) {
  if (isUtf16(encoding)) {
    const QByteArray mark = byteOrderMarkOf(encoding);
    QStringDecoder decoder(utf16Converter(encoding), QStringConverter::Flag::ConvertInitialBom |
                                                         QStringConverter::Flag::Stateless);
    return decoder.decode(bytes.startsWith(mark) ? bytes.mid(mark.size()) : bytes);
  }
  if (encoding == IniEncoding::Utf8) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
  }
  QString text;
  text.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    text += value >= 0x80 && value < 0xA0 ? QChar(windows1252High[value - 0x80])
                                          : QChar(char16_t(value));
  }
  return text;
}

std::optional<QByteArray> EncodeIniText(const QString& text, IniEncoding encoding) {
  if (encoding == IniEncoding::Utf8) return text.toUtf8();
  if (isUtf16(encoding)) {
    QStringEncoder encoder(utf16Converter(encoding), QStringConverter::Flag::Stateless);
    return QByteArray(encoder.encode(text));
  }
  QByteArray bytes;
  bytes.reserve(text.size());
  for (const QChar character : text) {
    const char16_t code = character.unicode();
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
      bytes += static_cast<char>(code);
      continue;
    }
    const auto* found = std::find(windows1252High.begin(), windows1252High.end(), code);
    if (found == windows1252High.end()) return std::nullopt;
    bytes += static_cast<char>(0x80 + (found - windows1252High.begin()));
  }
  return bytes;
}

// Where a key stands; -1 for what was not found.
struct IniContent::KeyLocation {
  qsizetype sectionLine = -1;
  qsizetype lastFilledLineOfSection = -1;
  qsizetype keyLine = -1;
  qsizetype valueStart = 0;
  qsizetype valueEnd = 0;
};

IniContent::IniContent(QByteArray bytes)
    : data(std::move(bytes)), textEncoding(DetectIniEncoding(data)) {
  if (isUtf16(textEncoding)) {
    const QString text = DecodeIniText(data, textEncoding);
    // An odd byte or a lone surrogate would not survive the way back: such a file is read, but
    // never written.
    heldExactly = byteOrderMarkOf(textEncoding) + *EncodeIniText(text, textEncoding) == data;
    data = text.toUtf8();
  }
  qsizetype start = data.startsWith(utf8ByteOrderMark) ? utf8ByteOrderMark.size() : 0;
  while (start < data.size()) {
    Line line{start, data.size(), data.size()};
    qsizetype position = start;
    while (position < data.size() && !isLineEnd(data.at(position))) ++position;
    if (position < data.size()) {
      line.contentEnd = position;
      const bool crLf =
          data.at(position) == '\r' && position + 1 < data.size() && data.at(position + 1) == '\n';
      line.end = position + (crLf ? 2 : 1);
    }
    lines.push_back(line);
    start = line.end;
  }
}

IniEncoding IniContent::dataEncoding() const {
  return isUtf16(textEncoding) ? IniEncoding::Utf8 : textEncoding;
}

QString IniContent::text(qsizetype from, qsizetype to) const {
  return DecodeIniText(QByteArray::fromRawData(data.constData() + from, to - from), dataEncoding());
}

std::optional<QByteArray> IniContent::inFileEncoding(QByteArray result) const {
  if (isUtf16(textEncoding)) {
    if (!heldExactly) return std::nullopt;
    return byteOrderMarkOf(textEncoding) + *EncodeIniText(QString::fromUtf8(result), textEncoding);
  }
  // Once the last byte that is no UTF-8 is gone, the next reading would take the file for UTF-8
  // and its other letters for different ones.
  const bool wouldReadAsUtf8 = textEncoding == IniEncoding::Windows1252 && !isAscii(result) &&
                               DetectIniEncoding(result) == IniEncoding::Utf8;
  if (wouldReadAsUtf8) {
    const QByteArray end = lineEnd();
    if (!isLineEnd(result.back())) result += end;
    result += windows1252Marker + end;
  }
  return result;
}

std::optional<QString> IniContent::sectionNameOf(const Line& line) const {
  qsizetype first = line.start;
  while (first < line.contentEnd && isBlank(data.at(first))) ++first;
  if (first >= line.contentEnd || data.at(first) != '[') return std::nullopt;
  const qsizetype close = data.indexOf(']', first);
  if (close < 0 || close >= line.contentEnd) return std::nullopt;
  return text(first + 1, close).trimmed();
}

bool IniContent::matchKey(const Line& line, const QString& key, KeyLocation& location) const {
  qsizetype first = line.start;
  while (first < line.contentEnd && isBlank(data.at(first))) ++first;
  if (first < line.contentEnd && (data.at(first) == ';' || data.at(first) == '#')) return false;
  const qsizetype equals = data.indexOf('=', line.start);
  if (equals < 0 || equals >= line.contentEnd) return false;
  if (!sameName(text(line.start, equals).trimmed(), key)) return false;
  qsizetype valueStart = equals + 1;
  while (valueStart < line.contentEnd && isBlank(data.at(valueStart))) ++valueStart;
  qsizetype valueEnd = line.contentEnd;
  while (valueEnd > valueStart && isBlank(data.at(valueEnd - 1))) --valueEnd;
  location.valueStart = valueStart;
  location.valueEnd = valueEnd;
  return true;
}

IniContent::KeyLocation IniContent::locate(const QString& section, const QString& key) const {
  KeyLocation location;
  for (qsizetype index = 0; index < static_cast<qsizetype>(lines.size()); ++index) {
    const Line& line = lines[static_cast<std::size_t>(index)];
    const std::optional<QString> header = sectionNameOf(line);
    if (location.sectionLine < 0) {
      if (header && sameName(*header, section)) {
        location.sectionLine = index;
        location.lastFilledLineOfSection = index;
      }
      continue;
    }
    if (header) break;  // the next section starts
    const bool filled =
        std::any_of(data.constBegin() + line.start, data.constBegin() + line.contentEnd,
                    [](char character) { return !isBlank(character); });
    if (filled) location.lastFilledLineOfSection = index;
    if (matchKey(line, key, location)) {
      location.keyLine = index;
      break;
    }
  }
  return location;
}

QByteArray IniContent::lineEnd() const {
  for (const Line& line : lines) {
    if (line.end > line.contentEnd) return data.mid(line.contentEnd, line.end - line.contentEnd);
  }
  return QByteArrayLiteral("\r\n");
}

QString IniContent::ReadString(const QString& section, const QString& key,
                               const QString& defaultValue) const {
  const KeyLocation location = locate(section, key);
  if (location.keyLine < 0) return defaultValue;
  return withoutSurroundingQuotes(text(location.valueStart, location.valueEnd));
}

int IniContent::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
  const QString value = ReadString(section, key);
  return value.isEmpty() ? defaultValue : leadingNumber(value);
}

std::optional<QByteArray> IniContent::WithValue(const QString& section, const QString& key,
                                                const QString& value) const {
  if (!fitsOnOneLine(section, key, value)) return std::nullopt;
  const std::optional<QByteArray> valueBytes = EncodeIniText(value, dataEncoding());
  if (!valueBytes) return std::nullopt;
  QByteArray result = data;
  const KeyLocation location = locate(section, key);
  if (location.keyLine >= 0) {
    return inFileEncoding(
        result.replace(location.valueStart, location.valueEnd - location.valueStart, *valueBytes));
  }
  const std::optional<QByteArray> keyBytes = EncodeIniText(key, dataEncoding());
  if (!keyBytes) return std::nullopt;
  const QByteArray end = lineEnd();
  const QByteArray keyLine = *keyBytes + '=' + *valueBytes + end;
  if (location.sectionLine >= 0) {
    const Line& last = lines[static_cast<std::size_t>(location.lastFilledLineOfSection)];
    const QByteArray closeLast = last.end == last.contentEnd ? end : QByteArray();
    return inFileEncoding(result.insert(last.end, closeLast + keyLine));
  }
  const std::optional<QByteArray> sectionBytes = EncodeIniText(section, dataEncoding());
  if (!sectionBytes) return std::nullopt;
  if (!result.isEmpty() && !isLineEnd(result.back())) result += end;
  return inFileEncoding(result + '[' + *sectionBytes + ']' + end + keyLine);
}

IniFile::IniFile(QString path) : filePath(std::move(path)) {}

IniFile::Loaded IniFile::Load() const {
  const QFileInfo info(filePath);
  if (!info.exists()) return {};
  // A pipe or device would block the read or never end it.
  if (!info.isFile()) return {Status::Unreadable, {}};
  if (info.size() > MaxIniFileSize) return {Status::TooLarge, {}};
  QFile file(filePath);
  if (!file.open(QIODevice::ReadOnly)) return {Status::Unreadable, {}};
  // Read no more than the bound even when the file grew since it was measured.
  QByteArray bytes = file.read(MaxIniFileSize + 1);
  if (file.error() != QFileDevice::NoError) return {Status::Unreadable, {}};
  if (bytes.size() > MaxIniFileSize) return {Status::TooLarge, {}};
  return {Status::Read, IniContent(std::move(bytes))};
}

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
  return Load().content.ReadString(section, key, defaultValue);
}

int IniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
  return Load().content.ReadInteger(section, key, defaultValue);
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) const {
  if (IsWriteProtected(filePath)) throw IniWriteError(filePath);
  const Loaded loaded = Load();
  // Writing without the lines that could not be read would lose them.
  if (loaded.status != Status::Read && loaded.status != Status::Missing) {
    throw IniWriteError(filePath);
  }
  const std::optional<QByteArray> bytes = loaded.content.WithValue(section, key, value);
  if (!bytes) throw IniWriteError(filePath);
  // The settings decide which factory image and folder every start uses: ReplaceFile keeps them
  // from being writable by other users.
  if (!ReplaceFile(filePath, *bytes)) throw IniWriteError(filePath);
}
