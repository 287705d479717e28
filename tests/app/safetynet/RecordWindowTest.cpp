// The record window over the record's files: what it shows, what it opens, what it warns of and
// what it exports.

#include "app/safetynet/RecordWindow.h"

#include "files/Backups.h"
#include "files/RecordShown.h"
#include "image/Texts.h"
#include "support/FileBytes.h"
#include "support/RecordSamples.h"
#include "support/ScriptedDialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

RecordEntry numbered(int number, const QString& message = QString()) {
  const QString code = QStringLiteral("%1").arg(0x1000 + number % 50, 4, 16).toUpper();
  return RecordEntry{QString::number(number), "Lesen", code, code, "OK", message, "", ""};
}

// An operation a minute, each with a radio code of its own.
RecordEntry ofMinute(int minute) {
  const QString code = QStringLiteral("1A%1").arg(minute, 2, 10, QChar(u'0'));
  return RecordEntry{QStringLiteral("2026-12-07T14:%1:00+01:00").arg(minute, 2, 10, QChar(u'0')),
                     "Lesen",
                     code,
                     code,
                     "OK",
                     "",
                     "",
                     ""};
}

class RecordWindowTest : public ::testing::Test {
 protected:
  QTemporaryDir root;
  QString data = root.path() + u'/';
  QString path = data + RecordFileName;
};

TEST_F(RecordWindowTest, TheRecordWindowOpensOnlyAFileInTheBackupsFolderAndSaysWhyNot) {
  // Which backups open and what a refusal says is decided below the window
  // (tests/files/RecordShownTest.cpp); the window accepts the one and says the other.
  struct Case {
    QString backup;
    QString opened;   // empty: refused
    QString message;  // what the refusal says
  };
  const QString kept = "Sicherungen/1A2B/2026-12-07_14-03-22_Lesen.ukova";
  const QString outside = "../Konfigurationen/kueche.ukova";
  const Case cases[] = {
      {kept, QDir::cleanPath(data + kept), ""},
      {outside, "",
       FormatText(Msg::RecordBackupOutsideFolder,
                  {outside, QDir::toNativeSeparators(data + BackupsFolderName)})},
      {"", "", Text(Msg::RecordNoBackup)},
  };
  for (const Case& c : cases) {
    QDir(data).remove(RecordFileName);
    ASSERT_TRUE(AppendRecordEntry(
        data + RecordFileName, RecordEntry{"t", "Lesen", "1A2B", "1A2B", "OK", "", c.backup, ""}));
    ScriptedDialogs dialogs;
    TfrmRecord window(dialogs);
    ASSERT_TRUE(window.LoadRecord(data));
    window.tblRecord->selectRow(0);
    EXPECT_EQ(window.SelectedBackupPath(), c.opened) << c.backup.toStdString();
    // As a double click on the row opens it; the button is off for a row without backup.
    window.btnOpenBackupClick();
    EXPECT_EQ(window.result(), c.opened.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
    EXPECT_EQ(dialogs.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message})
        << c.backup.toStdString();
  }
}

TEST_F(RecordWindowTest, TheRecordWindowShowsTheNewestAtOnceAndLongCellsCutShort) {
  std::vector<RecordEntry> entries;
  for (int number = 0; number < 10000; ++number) entries.push_back(numbered(number));
  const QString long_(300, u'm');
  entries.push_back(numbered(10000, long_));
  writeBytes(data + RecordFileName, RecordCsvBytes(entries));
  ScriptedDialogs dialogs;
  TfrmRecord window(dialogs);
  ASSERT_TRUE(window.LoadRecord(data));
  // The newest part is shown before the older ones are read.
  EXPECT_TRUE(window.IsLoading());
  EXPECT_LT(window.tblRecord->model()->rowCount(), 10001);
  EXPECT_EQ(window.CellText(0, 0), "10000");
  EXPECT_EQ(window.CellText(0, 5),
            long_.left(LongestRecordCellShown - 1) + QString(QChar(u'\u2026')));
  EXPECT_EQ(window.tblRecord->model()->index(0, 5).data(Qt::ToolTipRole).toString(), long_);
  while (window.IsLoading()) QCoreApplication::processEvents();
  EXPECT_EQ(window.tblRecord->model()->rowCount(), 10001);
  EXPECT_EQ(window.CellText(10000, 0), "0");
  EXPECT_EQ(window.cbbxRadioCode->count(), 51);
  EXPECT_EQ(window.lblCount->text(), FormatText(Msg::RecordEntryCount, {"10001"}));
  EXPECT_EQ(window.SelectedBackupPath(), "");
  EXPECT_EQ(window.tblRecord->currentIndex().row(), 0);
}

TEST_F(RecordWindowTest, TheRecordWindowReadsAsGermanUsersReadAndFitsItsDefaultWidth) {
  const QString time = "2026-12-07T14:03:22+01:00";
  RecordEntry failed{
      time, "Schreiben", "1A2B", "1A2B", QString::number(Msg::ReadFailed), "Keine Verbindung",
      "",   ""};
  // Every column filled, the longest as long as a cell shows them.
  RecordEntry full{time,
                   "Lesen",
                   "1A2B",
                   "1A2B",
                   "OK",
                   "",
                   QString(80, u's'),
                   QString(64, u'c'),
                   "S20261207-1",
                   QString(100, u'z'),
                   "Anna Müller",
                   QString(60, u'h'),
                   "Zi. 12"};
  ASSERT_TRUE(AppendRecordEntry(data + RecordFileName, failed));
  ScriptedDialogs dialogs;
  TfrmRecord window(dialogs);
  ASSERT_TRUE(window.LoadRecord(data));
  window.show();
  while (window.IsLoading()) QCoreApplication::processEvents();
  EXPECT_EQ(window.lblCount->text(), Text(Msg::RecordOneEntry));
  EXPECT_EQ(window.CellText(0, 0),
            QDateTime::fromString(time, Qt::ISODate).toLocalTime().toString("dd.MM.yyyy HH:mm:ss"));
  EXPECT_EQ(window.CellText(0, 4), QString::number(Msg::ReadFailed) + " \u2013 Keine Verbindung");
  // Nothing to open: no backup.
  EXPECT_FALSE(window.btnOpenBackup->isEnabled());

  ASSERT_TRUE(AppendRecordEntry(data + RecordFileName, full));
  ASSERT_TRUE(window.LoadRecord(data));
  while (window.IsLoading()) QCoreApplication::processEvents();
  EXPECT_EQ(window.lblCount->text(), FormatText(Msg::RecordEntryCount, {"2"}));
  EXPECT_TRUE(window.btnOpenBackup->isEnabled());
  EXPECT_EQ(window.tblRecord->horizontalScrollBar()->maximum(), 0);
  window.tblRecord->selectRow(1);
  EXPECT_FALSE(window.btnOpenBackup->isEnabled());
  // No row: nothing to open.
  window.cbbxRadioCode->addItem("FFFF", "FFFF");
  window.cbbxRadioCode->setCurrentIndex(window.cbbxRadioCode->findData("FFFF"));
  EXPECT_EQ(window.tblRecord->model()->rowCount(), 0);
  EXPECT_FALSE(window.btnOpenBackup->isEnabled());
}

TEST_F(RecordWindowTest, TheRecordWindowWarnsOnceWhereTheChainBreaksAndSaysSoAboveTheTable) {
  for (int number = 1; number <= 4; ++number)
    ASSERT_TRUE(AppendRecordEntry(path, ofMinute(number)));
  ScriptedDialogs dialogs;
  TfrmRecord window(dialogs);
  ASSERT_TRUE(window.LoadRecord(data));
  while (window.IsLoading()) QCoreApplication::processEvents();
  EXPECT_TRUE(dialogs.texts().isEmpty());
  EXPECT_EQ(window.lblChain->text(), FormatText(Msg::RecordChainIntact, {"4"}));

  QByteArray bytes = readBytes(path);
  bytes.replace(bytes.indexOf("1A03"), 4, "1A0F");
  writeBytes(path, bytes);
  ASSERT_TRUE(window.LoadRecord(data));
  while (window.IsLoading()) QCoreApplication::processEvents();
  const QString line = FormatText(
      Msg::RecordChainLine, {"4", RecordTimeShown("2026-12-07T14:03:00+01:00") + ", Lesen, 1A03"});
  EXPECT_EQ(dialogs.texts(), QStringList{FormatText(Msg::RecordChainBroken,
                                                    {FormatText(Msg::RecordChainEdited, {line})})});
  EXPECT_EQ(window.lblChain->text(),
            FormatText(Msg::RecordChainBrokenShort, {FormatText(Msg::RecordChainEdited, {line})}));
}

class RecordWindowExportTest : public RecordWindowTest {
 protected:
  std::vector<RecordEntry> entries = sampleWrites();

  void SetUp() override {
    for (const RecordEntry& entry : entries)
      ASSERT_TRUE(AppendRecordEntry(data + RecordFileName, entry));
  }
};

TEST_F(RecordWindowExportTest, AnExportHoldsExactlyTheEntriesTheWindowsFiltersPass) {
  ScriptedDialogs dialogs;
  TfrmRecord window(dialogs);
  ASSERT_TRUE(window.LoadRecord(data));
  while (window.IsLoading()) QCoreApplication::processEvents();
  struct Case {
    const char* what;
    std::function<void()> choose;
    std::vector<RecordEntry> exported;
  };
  const Case cases[] = {
      {"one radio code",
       [&] { window.cbbxRadioCode->setCurrentIndex(window.cbbxRadioCode->findData("1A2B")); },
       {entries[0], entries[2]}},
      {"one site",
       [&] { window.cbbxSite->setCurrentIndex(window.cbbxSite->findData("Haus Eiche")); },
       {entries[1], entries[2]}},
      {"one series",
       [&] { window.cbbxSeries->setCurrentIndex(window.cbbxSeries->findData("S1")); },
       {entries[0], entries[1]}},
      {"a range of days",
       [&] {
         window.dteFrom->setDate(QDate(2026, 12, 2));
         window.dteTo->setDate(QDate(2026, 12, 3));
       },
       {entries[1], entries[2]}},
      {"everything", [] {}, entries},
  };
  for (const Case& c : cases) {
    window.cbbxRadioCode->setCurrentIndex(0);
    window.cbbxSeries->setCurrentIndex(0);
    window.cbbxSite->setCurrentIndex(0);
    window.dteFrom->setDate(window.dteFrom->minimumDate());
    window.dteTo->setDate(window.dteTo->minimumDate());
    c.choose();
    const QString path = data + "auszug.csv";
    dialogs.saveAnswers = {data + "auszug"};
    dialogs.clear();
    window.btnExportCsv->click();
    EXPECT_EQ(ReadRecordFile(path), c.exported) << c.what;
    EXPECT_TRUE(readBytes(path).startsWith("\xEF\xBB\xBF" + FormatRecordLine(RecordColumnHeads()) +
                                           "\r\n"));
    // Replacing the earlier export was asked first.
    EXPECT_EQ(dialogs.texts().size(), &c == cases ? 1u : 2u) << c.what;
  }
}

}  // namespace
