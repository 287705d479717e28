#pragma once

#include "files/RecordFormat.h"
#include "image/OperationOutcome.h"
#include "image/VembaData.h"

#include <QDateTime>
#include <QString>

#include <optional>

// Automatic copies of every configuration read from or written to a transmitter, kept below the
// data folder in one folder per radio code, so that a technician can always go back.

enum class BackupKind { Read, Write };

// The backup an outcome leaves: a read's or a write's bytes; none for a code change or a check,
// nor for an operation that has no bytes.
[[nodiscard]] std::optional<BackupKind> BackupKindOf(const OperationOutcome& outcome);

// The folder of one radio code's backups, with trailing separator. A code that is not four
// hexadecimal digits (it comes from the OPU) never becomes a path of its own.
[[nodiscard]] QString BackupFolder(const QString& dataFolder, const QString& radioCode);

// The full path of a backup the record names (below the data folder); empty when the name is
// empty, leads out of the backups folder or passes a symbolic link on the way. The record is a
// text file anyone may edit, so its backup column must not reach other files.
[[nodiscard]] QString BackupPathInFolder(const QString& dataFolder, const QString& backup);
// Whether the file lies below the backups folder of this data folder.
[[nodiscard]] bool IsInBackupsFolder(const QString& dataFolder, const QString& path);
// The first symbolic link on the way from the data folder down to the path (the backups folder,
// a code's folder, the file itself); empty when there is none. A link there would lead a backup
// written or opened to a file elsewhere.
[[nodiscard]] QString LinkOnTheWay(const QString& dataFolder, const QString& path);

// Where a backup went: its path below the data folder ("Sicherungen/1A2B/..."), or why it could
// not be written.
struct BackupOutcome {
  QString relativePath;  // empty when the backup was not written
  QString failedPath;    // the path that could not be written
  bool atLink = false;   // failedPath is a symbolic link, which is not followed
};

// The bytes of the newest backup, read or write, of the transmitter with this code, by the time in
// its name: what the program last knew of it. None when it has none that reads as a configuration
// file, and for a code that is not four hexadecimal digits (whose backups cannot be told apart).
// Symbolic links among the backups, or in place of their folders, are passed over. With `kind`,
// only backups of that kind count.
[[nodiscard]] std::optional<ImageBytes> LatestBackup(const QString& dataFolder,
                                                     const QString& radioCode,
                                                     std::optional<BackupKind> kind = std::nullopt);

// Stores the 256 bytes as a configuration file "<date>_<time>_Lesen.ukova" (or "_Schreiben") in
// the code's folder, local time in a sortable name. An existing file is never overwritten: a
// clash gets a counter ("..._Lesen_2.ukova"). The file appears only complete. A symbolic link in
// place of the backups folder or the code's folder is not followed: nothing is written.
[[nodiscard]] BackupOutcome WriteBackup(const QString& dataFolder, const QString& radioCode,
                                        BackupKind kind, const ImageBytes& bytes,
                                        const QDateTime& time);
