#pragma once

#include <windows.h>

// The access list with read, write, run and delete granted to the local users and handed down to
// every file and folder inside: without it, a file that one technician made could not be changed
// by the next. Taking ownership and changing the permissions stay with the administrators. Null
// when it cannot be made; free it with LocalFree.
[[nodiscard]] PACL WithUsersModify(PACL current);
