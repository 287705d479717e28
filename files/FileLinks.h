#pragma once

#include <QFile>
#include <QFileDevice>
#include <QIODevice>
#include <QString>

// The record and the backups live in a folder other programs and users can reach: a symbolic link
// put in place of one of them would make every operation write into, or the record window open,
// a file elsewhere. These look at a path itself and never follow a link in its last part.

// Whether the path is itself a symbolic link (on Windows: any reparse point, a junction too); a
// missing path is none.
[[nodiscard]] bool IsLink(const QString& path);

enum class NoFollowOpen { Opened, IsLink, Failed };

// Opens `file` (its name set) with `mode`, creating a missing file with `permissions`, unless its
// path is a symbolic link. Only a plain file is opened: a FIFO or device in its place is not
// waited for. On Windows the path is looked at just before it is opened.
[[nodiscard]] NoFollowOpen OpenWithoutFollowing(QFile& file, QIODevice::OpenMode mode,
                                                QFileDevice::Permissions permissions);
