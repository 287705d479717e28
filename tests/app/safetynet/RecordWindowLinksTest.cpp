// The record window and symbolic links, as Linux makes them (Windows finds reparse points by
// their attribute and leaves these tests out, as it leaves out tests/files/FileLinksTest.cpp).

#include "app/safetynet/RecordWindow.h"
#include "files/Backups.h"
#include "image/Texts.h"
#include "support/FileBytes.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The record names a backup that is a link to a file outside: the record window does not open it,
// nor does a write take it for what the pendant last held.
TEST(RecordWindowLinksTest, TheRecordWindowOpensNoBackupThatIsALink) {
  QTemporaryDir root;
  QTemporaryDir elsewhere;
  const QString data = root.path() + u'/';
  const QString target = elsewhere.path() + u'/';
  const QString kept = "Sicherungen/1A2B/2026-12-07_14-03-22_Lesen.ukova";
  ASSERT_TRUE(QDir().mkpath(data + "Sicherungen/1A2B"));
  writeBytes(target + "fremd.ukova", QByteArray(ImageSize, 0x11));
  ASSERT_TRUE(QFile::link(target + "fremd.ukova", data + kept));
  ASSERT_TRUE(AppendRecordEntry(data + RecordFileName,
                                RecordEntry{"t", "Lesen", "1A2B", "1A2B", "OK", "", kept, ""}));
  ScriptedDialogs dialogs;
  TfrmRecord window(dialogs);
  ASSERT_TRUE(window.LoadRecord(data));
  window.tblRecord->selectRow(0);
  EXPECT_TRUE(window.SelectedBackupPath().isEmpty());
  window.btnOpenBackup->click();
  EXPECT_EQ(window.result(), QDialog::Rejected);
  EXPECT_EQ(dialogs.texts(),
            QStringList{FormatText(Msg::BackupIsLink, {kept, QDir::cleanPath(data + kept)})});
  EXPECT_EQ(LatestBackup(data, "1A2B"), std::nullopt);

  // The record itself a link: not read, and the window says why.
  dialogs.clear();
  ASSERT_TRUE(QFile::rename(data + RecordFileName, target + RecordFileName));
  ASSERT_TRUE(QFile::link(target + RecordFileName, data + RecordFileName));
  EXPECT_FALSE(window.LoadRecord(data));
  EXPECT_EQ(dialogs.texts(),
            QStringList{FormatText(Msg::RecordIsLinkNotRead, {data + RecordFileName})});
}

}  // namespace
