#include "files/SettingsStartup.h"

#include "files/CommonFolders.h"
#include "files/DataFolders.h"
#include "files/IniFile.h"
#include "files/ProgramVersion.h"
#include "files/VembaIni.h"
#include "image/Texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString serviceSwitch = QStringLiteral("-SERVICE");

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
  return createFolderLevels(environment.commonDataBase, Text(Msg::DataFolderSuffix));
}

QString findStandardConfigFolder(const StartupEnvironment& environment) {
  if (!folderExists(environment.documentsBase)) {
    return createFolderLevels(environment.programFolder, QStringLiteral("Config"));
  }
  return createFolderLevels(environment.documentsBase, QStringLiteral("ORVEL/U-KOVA config"));
}

// The choices the user made in the program's menus: the folder, the check after writing, the
// service mode's silenced questions, the technician's name and the OPU's port.
struct KeptSetting {
  const QString& section;
  const QString& key;
};
const KeptSetting keptThroughUpgrade[] = {
    {SetupSection, ConfigDirectoryKey},
    {SetupSection, VerifyAfterWriteKey},
    {SetupSection, SilencedInterlocksKey},
    {TechnicianSection, TechnicianNameKey},
    {OpuSection, OpuPortKey},
};

// A settings file of an older (or newer) version is replaced by the template; only the user's
// choices above survive. The upgrade counts, and so renews the factory image, only once the new
// version is recorded: a settings file that refuses the renewal would otherwise make every start
// an upgrade and copy the template over the user's own factory image each time.
void renewSettings(const StartupEnvironment& environment, const IniContent& current,
                   StartupSettings& result, VembaIni& settings) {
  const QString storedVersion = current.ReadString(SetupSection, AppVersionKey);
  if (storedVersion == environment.programVersion) return;
  const QString settingsPath = settings.Path();
  const QString settingsName = QFileInfo(settingsPath).fileName();
  if (!CopyDataFile(environment.programFolder, SettingsTemplateName, settingsName,
                    result.DataFolder)) {
    throw IniWriteError(settingsPath);
  }
  for (const KeptSetting& kept : keptThroughUpgrade) {
    const QString value = current.ReadString(kept.section, kept.key);
    if (!value.isEmpty()) settings.WriteSetting(kept.section, kept.key, value);
  }
  settings.WriteSetting(SetupSection, AppVersionKey, environment.programVersion);
  result.SettingsUpgrade = true;
}

void provisionSettings(const StartupEnvironment& environment, StartupSettings& result,
                       VembaIni& settings) {
  if (!isFile(environment.programFolder + SettingsTemplateName)) return;
  settings.SetPath(DataFilePath(result.DataFolder, SettingsFileName));
  const IniFile::Loaded current = IniFile(settings.Path()).Load();
  switch (current.status) {
    case IniFile::Status::Read:
      // An empty file lost its content (a full disk can leave one); it is no older version, so it
      // is provisioned as a missing one and the factory image stays.
      if (QFileInfo(settings.Path()).size() > 0) {
        renewSettings(environment, current.content, result, settings);
        return;
      }
      [[fallthrough]];
    case IniFile::Status::Missing:
      CopyDataFile(environment.programFolder, SettingsTemplateName,
                   QFileInfo(settings.Path()).fileName(), result.DataFolder);
      settings.WriteSetting(SetupSection, AppVersionKey, environment.programVersion);
      return;
    case IniFile::Status::Unreadable:
    case IniFile::Status::TooLarge:
      // Its content is unknown: replacing it could lose the user's settings, so the run goes on
      // with the defaults and leaves both files as they are.
      result.notice =
          FormatText(Msg::SettingsNotReadable, {QDir::toNativeSeparators(settings.Path())});
      return;
  }
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
  if (!isFile(environment.programFolder + FactoryTemplateName)) return;
  const QString target = DataFilePath(result.DataFolder, FactoryImageFileName);
  if (result.SettingsUpgrade || !QFileInfo::exists(target)) {
    CopyDataFile(environment.programFolder, FactoryTemplateName, QFileInfo(target).fileName(),
                 result.DataFolder);
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

}  // namespace

StartupEnvironment SystemStartupEnvironment() {
  return StartupEnvironment{
      ProgramFolder(),       CommonDataBase(),
      CommonDocumentsBase(), QCoreApplication::arguments().mid(1),
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
  settings.SetPath(DataFilePath(result.DataFolder, SettingsFileName));
  if (!examineCommandLine(environment.arguments, result)) {
    const QString stored = settings.ReadSetting(SetupSection, ConfigDirectoryKey);
    if (!stored.isEmpty())
      result.DefaultFolder = WithoutTrailingSeparator(QDir::fromNativeSeparators(stored));
  }
  return result;
}
