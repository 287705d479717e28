#pragma once

#include <QString>

// Makes a named pipe that nobody writes to at path. False where the platform's file system has
// no such thing (Windows keeps its pipes out of the folders).
[[nodiscard]] bool MakeUnwrittenPipe(const QString& path);
