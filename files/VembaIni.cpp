#include "files/VembaIni.h"

#include "files/IniFile.h"

QString VembaIni::ReadSetting(const QString& section, const QString& key) const {
  return IniFile(settingsPath).ReadString(section, key);
}

void VembaIni::WriteSetting(const QString& section, const QString& key,
                            const QString& value) const {
  IniFile(settingsPath).WriteString(section, key, value);
}

QString KeptTechnicianName(const VembaIni& settings) {
  return settings.ReadSetting(TechnicianSection, TechnicianNameKey).simplified();
}
