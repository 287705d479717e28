#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class VembaIni;

// The version record compiled into the program. A value that the record does not carry is
// absent, which is not the same as present and empty (an empty Comments still counts).
struct ProgramVersionInfo {
  std::optional<QString> FileDescription;
  std::optional<QString> FileVersion;
  std::optional<QString> Comments;
};

// The program's own record; absent when the program was built without one.
[[nodiscard]] std::optional<ProgramVersionInfo> CompiledProgramVersionInfo();
// FileVersion of the record, empty when the record or the value is absent.
[[nodiscard]] QString ProgramVersionOf(const std::optional<ProgramVersionInfo>& record);
// FileVersion of the program's own record ("1.2.1.123"), empty when unavailable.
[[nodiscard]] QString GetProgramVersion();

// The path without separators at its end; the root folder stays "/".
[[nodiscard]] QString WithoutTrailingSeparator(const QString& path);
// The path with exactly one separator at its end.
[[nodiscard]] QString WithTrailingSeparator(const QString& path);

// Where the templates and about.ini are: beside the program in a build tree, otherwise the
// installed share folder, given relative to the program's folder ("../share/ukova-programmer"),
// when it exists. With trailing separator.
[[nodiscard]] QString LocateProgramFolder(const QString& executableFolder,
                                          const QString& shareFromProgram);
// The program folder of this running program.
[[nodiscard]] QString ProgramFolder();

// The settings file and the factory image in the data folder.
inline const QString SettingsFileName = QStringLiteral("Values.ini");
inline const QString FactoryImageFileName = QStringLiteral("Default.bin");

// The path of the file `name` in `folder` (with trailing separator), found without regard to case
// as the file systems the settings come from compare names: the name as given when that file
// exists, otherwise the first match in name order, otherwise folder + name for a file still to
// be made. So "values.ini" or "DEFAULT.BIN" left by a user is found, not paired with a second.
[[nodiscard]] QString DataFilePath(const QString& folder, const QString& name);

// Copies sourceFolder + sourceName to targetFolder + targetName (folders with trailing
// separator). The target is replaced only by a complete copy: a missing source, a failed read or
// write, or a write-protected target leave it as it was. Permissions as ReplaceFile gives them.
bool CopyDataFile(const QString& sourceFolder, const QString& sourceName, const QString& targetName,
                  const QString& targetFolder);

// Creates the folder when it is missing (its parent must exist), with the user's default
// permissions within FolderPermissionLimit. The outcome is not reported: a folder that
// could not be made shows up later as a file that cannot be written.
void CreateFolderIfMissing(const QString& path);

// What the start-up asks of the platform; tests put their own folders here.
struct StartupEnvironment {
  QString programFolder;   // with trailing separator
  QString commonDataBase;  // common application-data folder; empty when the lookup fails
  QString documentsBase;   // common documents folder; empty when the lookup fails
  QStringList arguments;   // command-line parameters, without the program's own name
  QString programVersion;  // GetProgramVersion()
};

// The platform's answers for this running program.
[[nodiscard]] StartupEnvironment SystemStartupEnvironment();

// The folders, the service switch and the settings state after start-up.
struct StartupSettings {
  QString DataFolder;            // with trailing separator; holds Values.ini and Default.bin
  QString StandardConfigFolder;  // with trailing separator
  QString DefaultFolder;         // without trailing separator, unless typed with one as parameter
  bool ServiceMode = false;
  bool SettingsUpgrade = false;
  // A status text for the window: the settings file could not be read, its defaults are used.
  QString notice;
  // Messages of settings writes that failed ("Unable to write to <path>"); the steps after a
  // failed write still ran. The window shows each in an error box.
  QStringList errors;
};

// Finds and creates the folders, provisions Values.ini and Default.bin from their templates
// (renewed when the program version changed), chooses the default folder from the command line
// or the settings, and points `settings` at DataFolder + "Values.ini".
[[nodiscard]] StartupSettings RunSettingsStartup(const StartupEnvironment& environment,
                                                 VembaIni& settings);
