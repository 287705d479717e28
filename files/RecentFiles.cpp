#include "files/RecentFiles.h"

#include "files/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString RecentSection = QStringLiteral("RecentFiles");

QString EntryKey(int index) {
  return QStringLiteral("File%1").arg(index + 1);
}

// A relative path from the command line must still name the same file after a restart.
QString AbsolutePath(const QString& path) {
  return QFileInfo(path).absoluteFilePath();
}

}  // namespace

QStringList RecentFiles::Paths() const {
  const IniContent content = IniFile(settings_.Path()).Load().content;
  QStringList paths;
  for (int index = 0; index < MaxCount; ++index) {
    const QString path =
        QDir::fromNativeSeparators(content.ReadString(RecentSection, EntryKey(index)));
    if (!path.isEmpty() && !paths.contains(path)) paths << path;
  }
  return paths;
}

void RecentFiles::Add(const QString& path) const {
  const QString absolute = AbsolutePath(path);
  // A settings line cannot keep a line break or blanks at the end of a value: such a name
  // would come back as another file.
  if (absolute != absolute.trimmed() || absolute.contains(u'\n') || absolute.contains(u'\r'))
    return;
  QStringList paths = Paths();
  paths.removeAll(absolute);
  paths.prepend(absolute);
  Store(paths.mid(0, MaxCount));
}

void RecentFiles::Remove(const QString& path) const {
  QStringList paths = Paths();
  paths.removeAll(AbsolutePath(path));
  Store(paths);
}

void RecentFiles::Store(const QStringList& paths) const {
  const IniContent stored = IniFile(settings_.Path()).Load().content;
  for (int index = 0; index < MaxCount; ++index) {
    // Written as the platform's own programs write paths: with backslashes on Windows.
    const QString value =
        index < paths.size() ? QDir::toNativeSeparators(paths.at(index)) : QString();
    // Unchanged entries are not written again: each write replaces the whole file.
    if (stored.ReadString(RecentSection, EntryKey(index)) != value)
      settings_.WriteSetting(RecentSection, EntryKey(index), value);
  }
}
