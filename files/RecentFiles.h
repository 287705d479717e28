#pragma once

#include "files/VembaIni.h"

#include <QString>
#include <QStringList>

// The configuration files last opened or saved, newest first, kept in the settings file in a
// section of their own ("File1" is the newest). Every call reads or writes the file itself, so
// that several running copies share one list; lines of other sections stay as they are.
class RecentFiles {
 public:
  static constexpr int MaxCount = 8;

  explicit RecentFiles(const VembaIni& settings) : settings_(settings) {}

  // Absolute paths, newest first; empty and repeated entries of a hand-edited file are skipped.
  [[nodiscard]] QStringList Paths() const;
  // Puts the file first, removing an older entry of it and dropping the oldest past MaxCount.
  // Throws IniWriteError when the settings cannot be written.
  void Add(const QString& path) const;
  // Throws IniWriteError when the settings cannot be written.
  void Remove(const QString& path) const;

 private:
  void Store(const QStringList& paths) const;

  const VembaIni& settings_;
};
