#include "files/Settings.h"

#include "files/IniFile.h"
#include "files/VembaIni.h"
#include "ui/Texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString setupSection = QStringLiteral("Setup");
const QString configDirectoryKey = QStringLiteral("ConfigDirectory");
const QString appVersionKey = QStringLiteral("AppVersion");
const QString settingsTemplate = QStringLiteral("Values.i");
const QString settingsFileName = QStringLiteral("Values.ini");
const QString factoryTemplate = QStringLiteral("Default.b");
const QString factoryFileName = QStringLiteral("Default.bin");
const QString serviceSwitch = QStringLiteral("-SERVICE");

constexpr int dataDirectoryNameText = 19999;

bool isSeparator(QChar character) {
  return character == u'/' || character == QDir::separator();
}

bool isFile(const QString& path) {
  return QFileInfo(path).isFile();
}

// Creates each missing folder of `relative` below `base`, one level at a time; the path of the
// deepest one, with trailing separator.
QString createFolderLevels(const QString& base, const QString& relative) {
  QString path = WithoutTrailingSeparator(base);
  if (path == u'/') path.clear();
  const QStringList levels = QString(relative).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
  for (const QString& level : levels) {
    path += u'/' + level;
    CreateFolderIfMissing(path);
  }
  return WithTrailingSeparator(path);
}

bool folderExists(const QString& path) {
  return !path.isEmpty() && QFileInfo(path).isDir();
}

QString findDataFolder(const StartupEnvironment& environment) {
  if (!folderExists(environment.commonDataBase)) return environment.programFolder;
  return createFolderLevels(environment.commonDataBase, Text(dataDirectoryNameText));
}

QString findStandardConfigFolder(const StartupEnvironment& environment) {
  if (!folderExists(environment.documentsBase)) {
    return createFolderLevels(environment.programFolder, QStringLiteral("Config"));
  }
  return createFolderLevels(environment.documentsBase, QStringLiteral("ORVEL/U-KOVA config"));
}

// A settings file of an older (or newer) version is replaced by the template; only the user's
// chosen folder survives.
void renewSettings(const StartupEnvironment& environment, StartupSettings& result,
                   VembaIni& settings) {
  const QString configDirectory = settings.ReadSetting(setupSection, configDirectoryKey);
  const QString storedVersion = settings.ReadSetting(setupSection, appVersionKey);
  if (storedVersion == environment.programVersion) return;
  result.SettingsUpgrade = true;
  CopyDataFile(environment.programFolder, settingsTemplate, settingsFileName, result.DataFolder);
  if (!configDirectory.isEmpty()) {
    settings.WriteSetting(setupSection, configDirectoryKey, configDirectory);
  }
  settings.WriteSetting(setupSection, appVersionKey, environment.programVersion);
}

void provisionSettings(const StartupEnvironment& environment, StartupSettings& result,
                       VembaIni& settings) {
  if (!isFile(environment.programFolder + settingsTemplate)) return;
  settings.SetPath(result.DataFolder + settingsFileName);
  if (isFile(result.DataFolder + settingsFileName)) {
    renewSettings(environment, result, settings);
    return;
  }
  CopyDataFile(environment.programFolder, settingsTemplate, settingsFileName, result.DataFolder);
  settings.WriteSetting(setupSection, appVersionKey, environment.programVersion);
}

// A refused settings write ends its own step only; the user learns of it from the window.
void provisionSettingsReportingErrors(const StartupEnvironment& environment,
                                      StartupSettings& result, VembaIni& settings) {
  try {
    provisionSettings(environment, result, settings);
  } catch (const IniWriteError& error) {
    result.errors << error.message();
  }
}

void provisionFactoryImage(const StartupEnvironment& environment, const StartupSettings& result) {
  if (!isFile(environment.programFolder + factoryTemplate)) return;
  if (result.SettingsUpgrade || !isFile(result.DataFolder + factoryFileName)) {
    CopyDataFile(environment.programFolder, factoryTemplate, factoryFileName, result.DataFolder);
  }
}

// The switch counts only before the first folder parameter; that folder is used as typed.
bool examineCommandLine(const QStringList& arguments, StartupSettings& result) {
  for (const QString& argument : arguments) {
    if (argument.toUpper() == serviceSwitch) result.ServiceMode = true;
    if (QFileInfo(argument).isDir()) {
      result.DefaultFolder = argument;
      return true;
    }
  }
  return false;
}

bool copyContent(QFile& source, QSaveFile& target) {
  char buffer[4096];
  for (;;) {
    const qint64 count = source.read(buffer, sizeof buffer);
    if (count < 0) return false;
    if (count == 0) return true;
    if (target.write(buffer, count) != count) return false;
  }
}

// The user's own data or documents folder. A fresh account may not have it yet; it is made as
// the desktop would make it, because the fallback, the program folder, is not writable once the
// program is installed.
QString userFolder(QStandardPaths::StandardLocation location) {
  const QString folder = QStandardPaths::writableLocation(location);
  if (!folder.isEmpty()) QDir().mkpath(folder);
  return folder;
}

}  // namespace

std::optional<ProgramVersionInfo> CompiledProgramVersionInfo() {
#ifdef UKOVA_FILE_VERSION
  return ProgramVersionInfo{QStringLiteral("U-KOVA Programmer"), QStringLiteral(UKOVA_FILE_VERSION),
                            QString()};
#else
  return std::nullopt;
#endif
}

QString ProgramVersionOf(const std::optional<ProgramVersionInfo>& record) {
  if (!record || !record->FileVersion) return {};
  return *record->FileVersion;
}

QString GetProgramVersion() {
  return ProgramVersionOf(CompiledProgramVersionInfo());
}

QString WithoutTrailingSeparator(const QString& path) {
  qsizetype length = path.size();
  while (length > 1 && isSeparator(path.at(length - 1))) --length;
  return path.left(length);
}

QString WithTrailingSeparator(const QString& path) {
  const QString trimmed = WithoutTrailingSeparator(path);
  return trimmed == u'/' ? trimmed : trimmed + u'/';
}

QString LocateProgramFolder(const QString& executableFolder, const QString& installedShareFolder) {
  const QString beside = WithTrailingSeparator(executableFolder);
  if (isFile(beside + settingsTemplate) || isFile(beside + factoryTemplate)) return beside;
  if (folderExists(installedShareFolder)) return WithTrailingSeparator(installedShareFolder);
  return beside;
}

QString ProgramFolder() {
  return LocateProgramFolder(QCoreApplication::applicationDirPath(),
                             QStringLiteral(UKOVA_SHARE_DIR));
}

bool CopyDataFile(const QString& sourceFolder, const QString& sourceName, const QString& targetName,
                  const QString& targetFolder) {
  const QString targetPath = targetFolder + targetName;
  QFile source(sourceFolder + sourceName);
  if (!source.open(QIODevice::ReadOnly) || IsWriteProtected(targetPath)) return false;
  QSaveFile target(targetPath);
  if (!target.open(QIODevice::WriteOnly)) return false;
  target.setPermissions(target.permissions() & ~QFileDevice::WriteOther);
  if (!copyContent(source, target)) {
    target.cancelWriting();
    return false;
  }
  return target.commit();
}

void CreateFolderIfMissing(const QString& path) {
  if (QFileInfo::exists(path)) return;
  // The process's umask narrows these further, as for any folder the user makes.
  constexpr QFile::Permissions notWritableByOthers =
      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
      QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
  QDir().mkdir(path, notWritableByOthers);
}

StartupEnvironment SystemStartupEnvironment() {
  return StartupEnvironment{
      ProgramFolder(),
      userFolder(QStandardPaths::GenericDataLocation),
      userFolder(QStandardPaths::DocumentsLocation),
      QCoreApplication::arguments().mid(1),
      GetProgramVersion(),
  };
}

StartupSettings RunSettingsStartup(const StartupEnvironment& environment, VembaIni& settings) {
  StartupSettings result;
  result.DataFolder = findDataFolder(environment);
  result.StandardConfigFolder = findStandardConfigFolder(environment);
  provisionSettingsReportingErrors(environment, result, settings);
  provisionFactoryImage(environment, result);
  result.DefaultFolder = WithoutTrailingSeparator(result.StandardConfigFolder);
  settings.SetPath(result.DataFolder + settingsFileName);
  if (!examineCommandLine(environment.arguments, result)) {
    const QString stored = settings.ReadSetting(setupSection, configDirectoryKey);
    if (!stored.isEmpty()) result.DefaultFolder = WithoutTrailingSeparator(stored);
  }
  return result;
}
