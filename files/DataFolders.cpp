#include "files/DataFolders.h"

#include "files/CommonFolders.h"
#include "files/ImageFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool isSeparator(QChar character) {
  return character == u'/' || character == QDir::separator();
}

}  // namespace

QString WithoutTrailingSeparator(const QString& path) {
  qsizetype length = path.size();
  while (length > 1 && isSeparator(path.at(length - 1))) --length;
  return path.left(length);
}

QString WithTrailingSeparator(const QString& path) {
  const QString trimmed = WithoutTrailingSeparator(path);
  return trimmed == u'/' ? trimmed : trimmed + u'/';
}

QString LocateProgramFolder(const QString& executableFolder, const QString& shareFromProgram) {
  const QString beside = WithTrailingSeparator(executableFolder);
  const bool templatesBeside = QFileInfo(beside + SettingsTemplateName).isFile() ||
                               QFileInfo(beside + FactoryTemplateName).isFile();
  if (templatesBeside) return beside;
  const QString installed = QDir::cleanPath(beside + shareFromProgram);
  if (QFileInfo(installed).isDir()) return WithTrailingSeparator(installed);
  return beside;
}

QString ProgramFolder() {
  return LocateProgramFolder(QCoreApplication::applicationDirPath(),
                             QStringLiteral(UKOVA_SHARE_FROM_PROGRAM));
}

QString DataFilePath(const QString& folder, const QString& name) {
  const QString asked = folder + name;
  if (QFileInfo::exists(asked)) return asked;
  // Name filters of QDir compare without regard to case.
  const QDir directory(folder.isEmpty() ? QStringLiteral(".") : folder);
  const QStringList matches =
      directory.entryList({name}, QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
  return matches.isEmpty() ? asked : folder + matches.constFirst();
}

bool CopyDataFile(const QString& sourceFolder, const QString& sourceName, const QString& targetName,
                  const QString& targetFolder) {
  // The templates are a few hundred bytes.
  QFile source(sourceFolder + sourceName);
  if (!source.open(QIODevice::ReadOnly)) return false;
  const QByteArray content = source.readAll();
  if (source.error() != QFileDevice::NoError) return false;
  return ReplaceFile(targetFolder + targetName, content);
}

void CreateFolderIfMissing(const QString& path) {
  if (QFileInfo::exists(path)) return;
  CreateProgramFolder(path);
}
