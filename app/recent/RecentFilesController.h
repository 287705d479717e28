#pragma once

#include <QObject>

class ConfigurationFiles;
class OperationGuard;
class QAction;
class QMenu;

// Datei › Zuletzt geöffnet: the list of recent files (files/RecentFiles.h), read anew whenever
// the File menu opens; an entry opens its file like Open does.
class RecentFilesController : public QObject {
 public:
  // The submenu goes into the File menu before `before`.
  RecentFilesController(QMenu& fileMenu, QAction* before, ConfigurationFiles& files,
                        OperationGuard& guard, QObject* parent = nullptr);

  QMenu* mnuFileRecent;

 private:
  void mnuFileShow();

  ConfigurationFiles& files_;
  OperationGuard& guard_;
};
