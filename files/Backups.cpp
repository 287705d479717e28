#include "files/Backups.h"

#include "files/DataFolders.h"
#include "files/FileLinks.h"
#include "files/ImageFiles.h"
#include "files/RecordFormat.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <map>
#include <utility>

namespace {

constexpr int MaxClashCounter = 1000;
constexpr QFileDevice::Permissions ReadOnlyBackup =
    QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;

QString kindName(BackupKind kind) {
  return kind == BackupKind::Read ? BackupNameRead : BackupNameWrite;
}

bool isRadioCode(const QString& text) {
  static const QRegularExpression fourHexDigits(QStringLiteral("^[0-9A-Fa-f]{4}$"));
  return fourHexDigits.match(text).hasMatch();
}

QString codeFolderName(const QString& radioCode) {
  return isRadioCode(radioCode) ? radioCode.toUpper() : BackupUnknownCodeFolder;
}

// Claims the name for this backup alone: creating it exclusively fails when a file of that name
// exists, whoever made it in the meantime.
bool claim(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, FilePermissionLimit)) return false;
  file.close();
  return true;
}

}  // namespace

std::optional<BackupKind> BackupKindOf(const OperationOutcome& outcome) {
  if (!outcome.image) return std::nullopt;
  if (outcome.kind == OperationKind::Read) return BackupKind::Read;
  if (outcome.kind == OperationKind::Write) return BackupKind::Write;
  return std::nullopt;
}

QString BackupFolder(const QString& dataFolder, const QString& radioCode) {
  return dataFolder + BackupsFolderName + u'/' + codeFolderName(radioCode) + u'/';
}

QString BackupPathInFolder(const QString& dataFolder, const QString& backup) {
  const QString path = QDir::cleanPath(dataFolder + QDir::fromNativeSeparators(backup));
  return !backup.isEmpty() && IsInBackupsFolder(dataFolder, path) &&
                 LinkOnTheWay(dataFolder, path).isEmpty()
             ? path
             : QString();
}

bool IsInBackupsFolder(const QString& dataFolder, const QString& path) {
  return QDir::cleanPath(path).startsWith(QDir::cleanPath(dataFolder + BackupsFolderName) + u'/');
}

QString LinkOnTheWay(const QString& dataFolder, const QString& path) {
  // The data folder itself may be a link the user made; only what lies below it is looked at.
  QString walked = QDir::cleanPath(dataFolder);
  const QString cleaned = QDir::cleanPath(path);
  if (!cleaned.startsWith(walked + u'/')) return QString();
  for (const QString& part : cleaned.mid(walked.size() + 1).split(u'/', Qt::SkipEmptyParts)) {
    walked += u'/' + part;
    if (IsLink(walked)) return walked;
  }
  return QString();
}

std::optional<ImageBytes> LatestBackup(const QString& dataFolder, const QString& radioCode,
                                       std::optional<BackupKind> kind) {
  if (!isRadioCode(radioCode)) return std::nullopt;
  // The time and then the clash counter ("_2", "_10") order the backups of one code.
  const QString kinds = kind ? kindName(*kind) : BackupNameRead + u'|' + BackupNameWrite;
  const QRegularExpression backupName(
      QStringLiteral(R"(^(\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d)_(?:%1)(?:_(\d+))?%2$)")
          .arg(kinds, QRegularExpression::escape(BackupExtension)));
  std::map<std::pair<QString, int>, QString, std::greater<>> newestFirst;
  const QDir folder(BackupFolder(dataFolder, radioCode));
  if (!LinkOnTheWay(dataFolder, folder.path()).isEmpty()) return std::nullopt;
  for (const QString& name : folder.entryList(QDir::Files | QDir::NoSymLinks)) {
    const QRegularExpressionMatch match = backupName.match(name);
    if (match.hasMatch())
      newestFirst[{match.captured(1), match.captured(2).toInt()}] = folder.filePath(name);
  }
  for (const auto& [order, path] : newestFirst) {
    ImageBytes bytes{};
    if (ReadImageFile(path, bytes)) return bytes;
  }
  return std::nullopt;
}

BackupOutcome WriteBackup(const QString& dataFolder, const QString& radioCode, BackupKind kind,
                          const ImageBytes& bytes, const QDateTime& time) {
  const QString folder = BackupFolder(dataFolder, radioCode);
  // Looked at before each folder is made: a link in a folder's place is never written through.
  for (const QString& level : {dataFolder + BackupsFolderName, WithoutTrailingSeparator(folder)}) {
    if (IsLink(level)) return {QString(), level, true};
    CreateFolderIfMissing(level);
  }
  const QString stem = time.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss_")) + kindName(kind);
  const QString relativeFolder = folder.mid(dataFolder.size());
  for (int counter = 1; counter <= MaxClashCounter; ++counter) {
    const QString name =
        stem + (counter == 1 ? QString() : QStringLiteral("_%1").arg(counter)) + BackupExtension;
    const QString path = folder + name;
    if (!claim(path)) {
      if (QFile::exists(path)) continue;  // a clash; anything else means the folder is unwritable
      return {QString(), path};
    }
    // The claimed empty file is then replaced whole, so a backup is never seen half written.
    if (!WriteImageFile(bytes, path)) {
      QFile::remove(path);
      return {QString(), path};
    }
    // A backup opened into the window must not be replaced by Datei › Speichern: the file
    // writer refuses a read-only file. A file system without permission bits keeps it writable.
    (void)QFile::setPermissions(path, ReadOnlyBackup);
    return {relativeFolder + name, QString()};
  }
  return {QString(), folder + stem + BackupExtension};
}
