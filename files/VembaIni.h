#pragma once

#include <QString>

// The settings file's one section and its keys: the user's default folder, the program version
// that last provisioned the file, whether every write is read back ("1") or not, and the
// service mode's choice of questions before a write.
inline const QString SetupSection = QStringLiteral("Setup");
inline const QString ConfigDirectoryKey = QStringLiteral("ConfigDirectory");
inline const QString AppVersionKey = QStringLiteral("AppVersion");
inline const QString VerifyAfterWriteKey = QStringLiteral("VerifyAfterWrite");
// Service mode only: the guarded fields a write switches off without asking, by control name.
inline const QString SilencedInterlocksKey = QStringLiteral("SilencedInterlocks");

// The technician's name, written into every record line: a section of its own, kept through an
// upgrade like the chosen folder.
inline const QString TechnicianSection = QStringLiteral("Technician");
inline const QString TechnicianNameKey = QStringLiteral("Name");

// Where the OPU's port choice is kept: a section of its own, an empty value for the search by
// USB name.
inline const QString OpuSection = QStringLiteral("OPU");
inline const QString OpuPortKey = QStringLiteral("Port");

class VembaIni;
// The technician's name as kept, on one line; empty when none is.
[[nodiscard]] QString KeptTechnicianName(const VembaIni& settings);

// The program's settings file. Every read and write goes to the file itself, nothing is kept
// in between, so several running copies see each other's last writes.
class VembaIni {
 public:
  void SetPath(const QString& path) { settingsPath = path; }
  [[nodiscard]] const QString& Path() const { return settingsPath; }

  // Empty when the file, the section or the key is missing.
  [[nodiscard]] QString ReadSetting(const QString& section, const QString& key) const;
  // Creates the file when it does not exist; throws IniWriteError ("Unable to write to <path>")
  // when the write cannot be made.
  void WriteSetting(const QString& section, const QString& key, const QString& value) const;

 private:
  QString settingsPath;
};
