#pragma once

#include <QString>

// The folders the program keeps its data and the configurations in, as the platform gives them.
// On Windows the common application-data and common documents folders that every user of the PC
// shares; on Linux the user's own data and documents folders, made when a fresh account lacks
// them. Empty when the lookup fails. Paths with "/".
[[nodiscard]] QString CommonDataBase();
[[nodiscard]] QString CommonDocumentsBase();

// Makes one folder of the program's (its parent must exist). On Windows every local user may read
// and change what it holds, as the technicians of one workshop share one PC; nothing more. On
// Linux the user's default permissions within FolderPermissionLimit.
void CreateProgramFolder(const QString& path);
