#include "app/recent/RecentFilesController.h"

#include "app/ConfigurationFiles.h"
#include "image/Texts.h"
#include "ui/OperationGuard.h"

#include <QDir>
#include <QMenu>

RecentFilesController::RecentFilesController(QMenu& fileMenu, QAction* before,
                                             ConfigurationFiles& files, OperationGuard& guard,
                                             QObject* parent)
    : QObject(parent),
      mnuFileRecent(new QMenu(Text(Msg::MenuFileRecentFiles), &fileMenu)),
      files_(files),
      guard_(guard) {
  mnuFileRecent->setObjectName(QStringLiteral("mnuFileRecent"));
  fileMenu.insertMenu(before, mnuFileRecent);
  connect(&fileMenu, &QMenu::aboutToShow, this, &RecentFilesController::mnuFileShow);
}

void RecentFilesController::mnuFileShow() {
  // Read anew each time: another running copy may have opened files since.
  mnuFileRecent->clear();
  const QStringList paths = files_.RecentFilePaths();
  for (qsizetype index = 0; index < paths.size(); ++index) {
    const QString path = paths.at(index);
    QString caption = QDir::toNativeSeparators(path);
    caption.replace(u'&', QStringLiteral("&&"));
    QAction* entry = mnuFileRecent->addAction(QStringLiteral("&%1 %2").arg(index + 1).arg(caption));
    entry->setObjectName(QStringLiteral("mnuFileRecent%1").arg(index + 1));
    connect(entry, &QAction::triggered, this,
            [this, path] { guard_.Run([this, &path] { files_.OpenRecentFile(path); }); });
  }
  mnuFileRecent->menuAction()->setEnabled(!paths.isEmpty());
}
