#pragma once

#include <QString>

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
// Their templates beside the program.
inline const QString SettingsTemplateName = QStringLiteral("Values.i");
inline const QString FactoryTemplateName = QStringLiteral("Default.b");

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
