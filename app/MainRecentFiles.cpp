// The main window's list of recent files (files/RecentFiles.h): the File menu shows it, and an
// entry opens its file like Open does.

#include "app/Main.h"

#include <QDir>
#include <QMenu>

void TfrmMain::BindRecentFiles() {
  connect(mnuFile, &QMenu::aboutToShow, this, &TfrmMain::mnuFileShow);
}

void TfrmMain::mnuFileShow() {
  // Read anew each time: another running copy may have opened files since.
  mnuFileRecent->clear();
  const QStringList paths = configurationFiles_.RecentFilePaths();
  for (qsizetype index = 0; index < paths.size(); ++index) {
    const QString path = paths.at(index);
    QString caption = QDir::toNativeSeparators(path);
    caption.replace(u'&', QStringLiteral("&&"));
    QAction* entry = mnuFileRecent->addAction(QStringLiteral("&%1 %2").arg(index + 1).arg(caption));
    entry->setObjectName(QStringLiteral("mnuFileRecent%1").arg(index + 1));
    connect(entry, &QAction::triggered, this, [this, path] {
      operationGuard_.Run([this, &path] { configurationFiles_.OpenRecentFile(path); });
    });
  }
  mnuFileRecent->menuAction()->setEnabled(!paths.isEmpty());
}
