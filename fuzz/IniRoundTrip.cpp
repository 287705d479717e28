// The INI reader and writer on arbitrary file contents: a value written reads back the same, and
// every line the write does not touch keeps its bytes.

#include "files/IniFile.h"
#include "fuzz/FuzzInput.h"

#include <cstdint>
#include <vector>

namespace {

// Names and values as the program passes them: never with blanks around them, which reading
// would trim away.
QString Name(FuzzInput& input) {
  return QString::fromUtf8(input.Piece(24)).trimmed();
}

// Lines with their ends: CR LF, LF and CR each end one.
std::vector<QByteArray> Lines(const QByteArray& data) {
  std::vector<QByteArray> lines;
  qsizetype start = 0;
  for (qsizetype index = 0; index < data.size(); ++index) {
    const char byte = data.at(index);
    if (byte != '\n' && byte != '\r') continue;
    if (byte == '\r' && index + 1 < data.size() && data.at(index + 1) == '\n') ++index;
    lines.push_back(data.mid(start, index + 1 - start));
    start = index + 1;
  }
  if (start < data.size()) lines.push_back(data.mid(start));
  return lines;
}

// Lines before and after the change are the old ones; at most one old line is replaced, and at
// most three come in (the old last line ended, a section, the key).
void CheckUntouchedLines(const QByteArray& before, const QByteArray& after) {
  const std::vector<QByteArray> old = Lines(before);
  const std::vector<QByteArray> now = Lines(after);
  std::size_t head = 0;
  while (head < old.size() && head < now.size() && old[head] == now[head]) ++head;
  std::size_t tail = 0;
  while (tail < old.size() - head && tail < now.size() - head &&
         old[old.size() - 1 - tail] == now[now.size() - 1 - tail])
    ++tail;
  const std::size_t changedOld = old.size() - head - tail;
  const std::size_t changedNew = now.size() - head - tail;
  FUZZ_CHECK(changedOld <= 1 && changedNew <= changedOld + 3,
             QString::fromLatin1(before.toHex() + " -> " + after.toHex()));
}

// What reading gives for a value written: one pair of surrounding double quotes is not part of
// a value.
QString ReadBack(const QString& value) {
  if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
    return value.mid(1, value.size() - 2);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const QString section = Name(input);
  const QString key = Name(input);
  const QString value = Name(input);
  const QByteArray before = input.Rest();

  const IniContent content(before);
  (void)content.ReadString(section, key);
  (void)content.ReadInteger(section, key, 7);
  const std::optional<QByteArray> after = content.WithValue(section, key, value);
  if (!after) return 0;  // names or a value that cannot be written are refused
  FUZZ_CHECK(
      IniContent(*after).ReadString(section, key, QStringLiteral("\x01missing")) == ReadBack(value),
      section + u'|' + key + u'|' + value + u'|' + QString::fromLatin1(before.toHex()));
  CheckUntouchedLines(before, *after);
  return 0;
}
