// Datei › Zuletzt geöffnet against the real main window: the list survives a restart, an entry
// opens its file, and a file deleted since leaves the list with a status text.

#include "app/recent/RecentFilesController.h"

#include "app/Main.h"
#include "app/MainFilesSession.h"
#include "image/Texts.h"
#include "support/FileBytes.h"
#include "support/SampleImage.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using RecentFilesControllerTest = MainFilesSession;

TEST_F(RecentFilesControllerTest, RecentFilesSurviveARestartKeepTheirOrderAndLoseADeletedFile) {
  startWithFactoryImage();
  const QString first = filePath(QStringLiteral("erste & beste.ukova"));
  const QString second = filePath(QStringLiteral("zweite.ukova"));
  writeBytes(first, validImage(11));
  open(first);
  saveAs(second);
  const auto recentEntries = [this] {
    emit window->form.mnuFile->aboutToShow();
    QStringList captions;
    for (const QAction* entry : window->RecentFiles().mnuFileRecent->actions())
      captions << entry->text();
    return captions;
  };

  start();
  EXPECT_THAT(recentEntries(), ElementsAre(QStringLiteral("&1 ") + QString(second),
                                           QStringLiteral("&2 ") +
                                               QString(first).replace(u'&', QStringLiteral("&&"))));
  window->RecentFiles().mnuFileRecent->actions().at(1)->trigger();
  EXPECT_EQ(currentFile(), first);
  EXPECT_EQ(batteryTestInterval(), QStringLiteral("11"));
  EXPECT_EQ(window->StatusText(),
            FormatText(Msg::ConfigurationFileOpened, {QStringLiteral("erste & beste.ukova")}));

  ASSERT_TRUE(QFile::remove(second));
  ASSERT_EQ(recentEntries().size(), 2);
  window->RecentFiles().mnuFileRecent->actions().at(1)->trigger();
  EXPECT_EQ(window->StatusText(), FormatText(Msg::RecentFileGone, {second}));
  EXPECT_EQ(currentFile(), first);
  EXPECT_EQ(recentEntries().size(), 1);
  EXPECT_TRUE(window->RecentFiles().mnuFileRecent->menuAction()->isEnabled());
  EXPECT_THAT(dialogs.texts(), IsEmpty());
}

}  // namespace
