#pragma once

#include <QString>
#include <QStringList>

class VembaIni;

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
