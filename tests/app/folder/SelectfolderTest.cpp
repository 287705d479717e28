#include "app/folder/Selectfolder.h"

#include "files/IniFile.h"
#include "files/VembaIni.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

class SelectDirectoryTest : public ::testing::Test {
 protected:
  ScriptedDialogs dialogs;
  QWidget mainWindow;
  TfrmSelectDirectory dialog{dialogs, &mainWindow};
  QTemporaryDir folder;
  VembaIni settings;

  void SetUp() override { settings.SetPath(folder.filePath(QStringLiteral("Values.ini"))); }

  // Acts on the dialog once its modal loop runs. Should the action leave the dialog open, it is
  // closed with Cancel, so that a broken button fails the test instead of blocking it.
  void whenShown(std::function<void()> action) {
    QTimer::singleShot(0, &dialog, [this, action] {
      action();
      if (dialog.isVisible()) dialog.reject();
    });
  }
};

TEST_F(SelectDirectoryTest, FolderComesAndGoesWithoutTrailingSeparator) {
  dialog.SetFolder(QStringLiteral("/home/user/configs/"));
  EXPECT_EQ(dialog.edtActiveConfigDirectory->text(),
            QDir::toNativeSeparators(QStringLiteral("/home/user/configs")));
  dialog.edtActiveConfigDirectory->setText(QStringLiteral("/typed/by/hand//"));
  EXPECT_EQ(dialog.GetFolder(), QStringLiteral("/typed/by/hand"));
}

TEST_F(SelectDirectoryTest, BrowsePreselectsAnExistingFolderAndTakesThePick) {
  dialog.SetFolder(folder.path());
  dialogs.folderAnswers.push_back(QStringLiteral("/picked/folder/"));
  dialog.btnBrowse->click();
  ASSERT_EQ(dialogs.folderStarts.size(), 1u);
  EXPECT_EQ(dialogs.folderStarts.front(), folder.path());
  EXPECT_EQ(dialog.GetFolder(), QStringLiteral("/picked/folder"));

  dialog.SetFolder(QStringLiteral("/does/not/exist"));
  dialog.btnBrowse->click();  // cancelled: no scripted answer
  ASSERT_EQ(dialogs.folderStarts.size(), 2u);
  EXPECT_EQ(dialogs.folderStarts.back(), QString());
  EXPECT_EQ(dialog.GetFolder(), QStringLiteral("/does/not/exist"));
}

TEST_F(SelectDirectoryTest, ConfirmedFolderBecomesDefaultAndIsStoredWithoutSeparator) {
  QString defaultFolder = QStringLiteral("/old/folder");
  whenShown([this] {
    EXPECT_EQ(dialog.GetFolder(), QStringLiteral("/old/folder"));
    dialog.edtActiveConfigDirectory->setText(QStringLiteral("/new/folder/"));
    dialog.btnOK->click();
  });
  EXPECT_TRUE(SelectDefaultFolder(dialog, defaultFolder, settings));
  EXPECT_EQ(defaultFolder, QStringLiteral("/new/folder"));
  EXPECT_EQ(settings.ReadSetting(SetupSection, ConfigDirectoryKey),
            QDir::toNativeSeparators(QStringLiteral("/new/folder")));
}

TEST_F(SelectDirectoryTest, CancelledDialogChangesNothing) {
  QString defaultFolder = QStringLiteral("/old/folder");
  whenShown([this] {
    dialog.edtActiveConfigDirectory->setText(QStringLiteral("/new/folder"));
    dialog.btnCancel->click();
  });
  EXPECT_FALSE(SelectDefaultFolder(dialog, defaultFolder, settings));
  EXPECT_EQ(defaultFolder, QStringLiteral("/old/folder"));
  EXPECT_FALSE(QFile::exists(settings.Path()));
}

TEST_F(SelectDirectoryTest, RefusedWriteReachesTheCallerButTheFolderIsTakenForThisRun) {
  settings.SetPath(folder.filePath(QStringLiteral("gone/Values.ini")));
  QString defaultFolder = QStringLiteral("/old/folder");
  whenShown([this] {
    dialog.edtActiveConfigDirectory->setText(QStringLiteral("/new/folder"));
    dialog.btnOK->click();
  });
  try {
    (void)SelectDefaultFolder(dialog, defaultFolder, settings);
    ADD_FAILURE() << "the refused write was not reported";
  } catch (const IniWriteError& error) {
    EXPECT_EQ(error.message(),
              QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(settings.Path()));
  }
  EXPECT_EQ(defaultFolder, QStringLiteral("/new/folder"));
}

TEST_F(SelectDirectoryTest, DialogIsCentredOnTheMainWindow) {
  mainWindow.setGeometry(101, 51, 890, 572);
  QPoint shownAt;
  whenShown([this, &shownAt] { shownAt = dialog.pos(); });
  (void)dialog.ShowModal();
  // Positions are those of the window frames, as move() takes them.
  const QPoint mainAt = mainWindow.pos();
  EXPECT_EQ(shownAt, QPoint(mainAt.x() + (890 - 469) / 2, mainAt.y() + (572 - 226) / 2));
  EXPECT_EQ(dialog.size(), QSize(469, 226));
}

}  // namespace
