#pragma once

#include "image/Messages.h"
#include "image/VembaData.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

// The program's files on disk: 256-byte configuration files, their write protection, and the one
// way every file of the program is replaced.

// Permissions never exceed these, whatever the process's umask: files 0644, folders 0755. A file
// or folder writable by every user would, in a per-user home, let anyone plant a factory image.
inline constexpr QFileDevice::Permissions FilePermissionLimit =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
    QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
inline constexpr QFileDevice::Permissions FolderPermissionLimit =
    FilePermissionLimit | QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup |
    QFileDevice::ExeOther;

// Configuration files of exactly 256 bytes.
[[nodiscard]] bool ReadImageFile(const QString& path, ImageBytes& bytes);
// Fails on an existing read-only file, whose protection the write must respect.
[[nodiscard]] bool WriteImageFile(const ImageBytes& bytes, const QString& path);
// A configuration file as every command opens one: the message that refuses it (wrong size, not
// readable), or none with the bytes read.
[[nodiscard]] std::optional<Msg::Id> ReadConfigurationFile(const QString& path, ImageBytes& bytes);
// 0 for a missing file or one that cannot be opened.
[[nodiscard]] qint64 FileSizeOf(const QString& path);

// An existing file whose write permission bits are all cleared, whoever the user is.
[[nodiscard]] bool IsReadOnlyFile(const QString& path);
// True for an existing file that must not be replaced: one we may not write, or one whose
// permissions grant writing to nobody (the read-only mark of the file, which a replace by
// rename would otherwise step over, even for an administrator).
[[nodiscard]] bool IsWriteProtected(const QString& path);

// Replaces the file as a whole with the content: a temporary file, then a rename, so that a
// failed write never leaves half a file behind. True only once every byte is on the disk: a full
// disk, a quota or the file-size limit leave the old file as it was. An existing file keeps its
// owner and group, and its mode within FilePermissionLimit; a new one gets the user's default
// within that limit. Where no temporary file can stand in for the old one (a folder that takes
// no new file, another user's file), the existing file is written in place and its old content
// put back when the new one does not reach the disk. A write-protected file is left as it is.
[[nodiscard]] bool ReplaceFile(const QString& path, const QByteArray& content);

// A write beyond the user's file-size limit fails like one on a full disk and is reported, instead
// of ending the program with the window's unsaved configuration. Called once at the start.
void KeepRunningPastFileSizeLimit();
