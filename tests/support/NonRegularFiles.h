#pragma once

#include <QString>

// Makes a named pipe that nobody writes to at path. False where the platform's file system has
// no such thing (Windows keeps its pipes out of the folders).
[[nodiscard]] bool MakeUnwrittenPipe(const QString& path);

// Whether the file system keeps the owner's, the group's and everybody's permission bits. Windows
// keeps access in access lists instead (tests/windows checks the ones the program sets).
[[nodiscard]] bool FileSystemKeepsModeBits();
