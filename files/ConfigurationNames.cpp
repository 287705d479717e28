#include "files/ConfigurationNames.h"

#include <QFileInfo>

namespace {

// Where the extension starts: the last dot of the file name part; -1 when there is none.
qsizetype extensionStart(const QString& path) {
  const qsizetype dot = path.lastIndexOf(u'.');
  return dot > path.lastIndexOf(u'/') ? dot : -1;
}

}  // namespace

QString ReadConfigurationName(const QString& radioCode, const QDate& day) {
  // Only letters and digits of the code: whatever a transmitter answered, the name stays a name.
  QString code;
  for (const QChar character : radioCode) {
    if (character.isLetterOrNumber() && character.unicode() < 0x80) code += character;
  }
  const QString date = day.toString(Qt::ISODate);
  return code.isEmpty() ? QStringLiteral("U-KOVA_%1").arg(date)
                        : QStringLiteral("U-KOVA_%1_%2").arg(code, date);
}

QString WithConfigurationExtension(const QString& path) {
  const qsizetype dot = extensionStart(path);
  return (dot < 0 ? path : path.left(dot)) + ConfigurationExtension;
}

bool HasConfigurationExtension(const QString& path) {
  const qsizetype dot = extensionStart(path);
  const QString extension = dot < 0 ? QString() : path.mid(dot).toLower();
  return extension == ConfigurationExtension || extension == QStringLiteral(".bin");
}

bool NamesFile(const QString& argument) {
  const QFileInfo info(argument);
  return (info.exists() || info.isSymLink()) && !info.isDir();
}
