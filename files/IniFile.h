#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <stdexcept>
#include <vector>

// A settings write that could not be made. The message is "Unable to write to <path>", the text
// the user sees in the error box.
class IniWriteError : public std::runtime_error {
 public:
  explicit IniWriteError(const QString& path);
  [[nodiscard]] QString message() const { return QString::fromUtf8(what()); }
};

// How the bytes of an INI file stand for text. Settings files of the older Windows program are
// Windows-1252, or UTF-16 with a byte-order mark when saved as "Unicode" by the Windows editor;
// the files this program creates are UTF-8.
enum class IniEncoding { Utf8, Windows1252, Utf16LittleEndian, Utf16BigEndian };

// UTF-16 when the bytes start with its byte-order mark; UTF-8 when they are valid UTF-8 (plain
// ASCII too); otherwise Windows-1252, in which every byte stands for one character, so that
// nothing is lost on the way in.
[[nodiscard]] IniEncoding DetectIniEncoding(const QByteArray& data);
// The text the bytes stand for; a leading U+FEFF is kept as a character (UTF-16 bytes are taken
// without their byte-order mark).
[[nodiscard]] QString DecodeIniText(const QByteArray& bytes, IniEncoding encoding);
// The bytes for the text; absent when the encoding has no byte for one of its characters.
[[nodiscard]] std::optional<QByteArray> EncodeIniText(const QString& text, IniEncoding encoding);

// An INI file larger than this is not read: settings files are a few hundred bytes, and a file
// of gigabytes (damaged, or not a settings file at all) must not take the program's memory.
constexpr qint64 MaxIniFileSize = 1024 * 1024;

// The bytes of one INI file, split into lines once; every lookup then works on them in memory.
//
// - CR LF, LF and CR all end a line.
// - Section and key names are compared without regard to case; the first matching section and,
//   inside it, the first matching key count.
// - A value is the text after the first '=', with the blanks around it removed and one pair of
//   surrounding double quotes taken off; nothing else is interpreted.
// - Lines starting with ';' or '#' are comments.
class IniContent {
 public:
  IniContent() = default;
  explicit IniContent(QByteArray bytes);

  [[nodiscard]] IniEncoding encoding() const { return textEncoding; }

  [[nodiscard]] QString ReadString(const QString& section, const QString& key,
                                   const QString& defaultValue = {}) const;
  // The number the value begins with, as the platform reads it: an optional sign and the decimal
  // digits up to the first other character ("42A" gives 42, "A42" gives 0), wrapping at 32 bits.
  // A missing or empty value gives the default.
  [[nodiscard]] int ReadInteger(const QString& section, const QString& key, int defaultValue) const;

  // The file's bytes with the key set, in the encoding the file was read in. Every other line
  // keeps its bytes; the changed or added line is written in the file's encoding. A
  // Windows-1252 file whose remaining bytes would read as UTF-8 gets a comment line that keeps it
  // Windows-1252. A missing key is added after the last non-blank line
  // of its section, a missing section at the end; new lines end like the file's first line (CR LF
  // in a new file). Absent when the names or the value do not fit on one line (a line break
  // would plant other keys) or cannot be written in the file's encoding.
  [[nodiscard]] std::optional<QByteArray> WithValue(const QString& section, const QString& key,
                                                    const QString& value) const;

 private:
  // One line as byte offsets: [start, contentEnd) is the text, [contentEnd, end) the line end.
  struct Line {
    qsizetype start = 0;
    qsizetype contentEnd = 0;
    qsizetype end = 0;
  };
  struct KeyLocation;
  [[nodiscard]] KeyLocation locate(const QString& section, const QString& key) const;
  [[nodiscard]] QString text(qsizetype from, qsizetype to) const;
  [[nodiscard]] std::optional<QString> sectionNameOf(const Line& line) const;
  [[nodiscard]] bool matchKey(const Line& line, const QString& key, KeyLocation& location) const;
  [[nodiscard]] QByteArray lineEnd() const;
  [[nodiscard]] IniEncoding dataEncoding() const;
  [[nodiscard]] std::optional<QByteArray> inFileEncoding(QByteArray result) const;

  // A UTF-16 file's text is held as UTF-8, so that lines and names are found byte by byte.
  QByteArray data;
  IniEncoding textEncoding = IniEncoding::Utf8;
  bool heldExactly = true;  // whether data gives the file's bytes back
  std::vector<Line> lines;
};

// One INI file on disk, read and written in place.
//
// - Reads never fail: a missing, unreadable or oversized file, section or key gives the default.
// - Each call reads the file once; Load() serves several lookups from one reading.
class IniFile {
 public:
  explicit IniFile(QString path);

  [[nodiscard]] const QString& path() const { return filePath; }

  enum class Status { Read, Missing, Unreadable, TooLarge };
  struct Loaded {
    Status status = Status::Missing;
    IniContent content;  // empty unless status is Read
  };
  // Reads the file once, at most MaxIniFileSize bytes, and never waits on a pipe or device.
  [[nodiscard]] Loaded Load() const;

  [[nodiscard]] QString ReadString(const QString& section, const QString& key,
                                   const QString& defaultValue = {}) const;
  [[nodiscard]] int ReadInteger(const QString& section, const QString& key, int defaultValue) const;

  // Replaces the file as a whole (temporary file, then rename), so that a failed write never
  // leaves half a file behind; the file is created by the first write. Throws IniWriteError when
  // the write cannot be made: its folder is missing or closed, the file is write-protected,
  // unreadable or oversized (its other lines would be lost), or IniContent::WithValue refuses.
  void WriteString(const QString& section, const QString& key, const QString& value) const;

 private:
  QString filePath;
};
