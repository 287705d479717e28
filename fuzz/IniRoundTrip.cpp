// The INI reader and writer on arbitrary file contents: a value written reads back the same,
// every line the write does not touch keeps its bytes, and a write that cannot be made leaves
// the file as it was.

#include "files/IniFile.h"
#include "fuzz/FuzzInput.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <vector>

namespace {

// Names and values as the program passes them: never with blanks around them, which reading
// would trim away.
QString Name(FuzzInput& input) {
  return QString::fromUtf8(input.Piece(24)).trimmed();
}

std::vector<QByteArray> Lines(const QByteArray& data) {
  std::vector<QByteArray> lines;
  qsizetype start = 0;
  while (start < data.size()) {
    const qsizetype newline = data.indexOf('\n', start);
    const qsizetype end = newline < 0 ? data.size() : newline + 1;
    lines.push_back(data.mid(start, end - start));
    start = end;
  }
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
             QString::fromUtf8(before.toHex() + " -> " + after.toHex()));
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir folder;
  FuzzInput input(data, size);
  const QString section = Name(input);
  const QString key = Name(input);
  const QString value = Name(input);
  const QByteArray before = input.Rest();

  const QString path = folder.filePath(QStringLiteral("fuzz.ini"));
  QFile::remove(path);
  if (!before.isEmpty()) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(before) != before.size()) return 0;
  }
  const IniFile ini(path);
  (void)ini.ReadString(section, key);
  (void)ini.ReadInteger(section, key, 7);
  try {
    ini.WriteString(section, key, value);
  } catch (const IniWriteError&) {
    FUZZ_CHECK(Contents(path) == before, section + u'|' + key + u'|' + value);
    return 0;
  }
  FUZZ_CHECK(ini.ReadString(section, key, QStringLiteral("\x01missing")) == value,
             section + u'|' + key + u'|' + value);
  CheckUntouchedLines(before, Contents(path));
  return 0;
}
