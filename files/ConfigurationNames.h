#pragma once

#include <QDate>
#include <QString>

// The names of configuration files: their extension, the name a configuration read from a
// transmitter is offered under, and which names the program takes for a configuration.

inline const QString ConfigurationExtension = QStringLiteral(".ukova");
inline const QString ConfigurationPattern = QStringLiteral("*.ukova");

// The name a configuration read from a transmitter is offered under: its radio code and the day.
[[nodiscard]] QString ReadConfigurationName(const QString& radioCode, const QDate& day);

// The path with the configuration extension in place of its own; a name without one gets it.
[[nodiscard]] QString WithConfigurationExtension(const QString& path);
// Whether a dropped file's name says it holds a configuration: ".ukova", or ".bin" as files of
// the factory configuration are named, in any case.
[[nodiscard]] bool HasConfigurationExtension(const QString& path);
// Anything on disk but a folder: a pipe, a device or a symbolic link that leads nowhere is named
// as a file too, so that it is refused as one that cannot be a configuration.
[[nodiscard]] bool NamesFile(const QString& argument);
