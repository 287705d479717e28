#pragma once

#include "files/DataFolders.h"
#include "files/ProgramVersion.h"
#include "files/SettingsStartup.h"

#include <QString>
#include <QStringList>

// A start-up whose program folder is a scratch folder and whose platform folders cannot be
// found: the settings, the factory image and the standard configuration folder all end up
// below that scratch folder, never in the real home.
inline StartupEnvironment ScratchStartup(const QString& folder, const QStringList& arguments = {}) {
  return StartupEnvironment{WithTrailingSeparator(folder), QString(), QString(), arguments,
                            GetProgramVersion()};
}
