#pragma once

#include <QString>

#include <stdexcept>

// A settings write that could not be made. The message is "Unable to write to <path>", the text
// the user sees in the error box.
class IniWriteError : public std::runtime_error {
 public:
  explicit IniWriteError(const QString& path);
  [[nodiscard]] QString message() const { return QString::fromUtf8(what()); }
};

// One INI file on disk, read and written in place.
//
// - Section and key names are compared without regard to case; the first matching section and,
//   inside it, the first matching key count.
// - A value is the text after the first '=', with the blanks around it removed; nothing else is
//   interpreted (no quotes, escapes or lists).
// - Lines starting with ';' or '#' are comments. Every line a write does not change keeps its
//   bytes, line end included.
// - A missing key is added after the last non-blank line of its section, a missing section at
//   the end of the file; new lines end like the file's first line (CR LF in a new file).
// - Reads never fail: a missing file, section or key gives the default.
// - Nothing is cached: every read and write opens the file anew.
class IniFile {
 public:
  explicit IniFile(QString path);

  [[nodiscard]] const QString& path() const { return filePath; }

  [[nodiscard]] QString ReadString(const QString& section, const QString& key,
                                   const QString& defaultValue = {}) const;

  // A decimal number with an optional '+' or '-' sign and blanks around it. Anything else —
  // empty text, trailing characters, "0x" forms, a number beyond the int range — gives the
  // default, so a damaged value never passes as a different number.
  [[nodiscard]] int ReadInteger(const QString& section, const QString& key, int defaultValue) const;

  // Replaces the file as a whole (temporary file, then rename), so that a failed write never
  // leaves half a file behind. Throws IniWriteError when the file cannot be written: its folder
  // is missing or closed, the file is write-protected, or the names or value do not fit on one
  // line of the file (a line break in a value would plant other keys).
  void WriteString(const QString& section, const QString& key, const QString& value) const;

 private:
  QString filePath;
};

// True for an existing file that must not be replaced: one we may not write, or one whose
// permissions grant writing to nobody (the read-only mark of the file, which a replace by
// rename would otherwise step over, even for an administrator).
[[nodiscard]] bool IsWriteProtected(const QString& path);
