// The technician's safety net end to end: backups and the programming record of real operations
// against the simulated OPU, the record and comparison windows, and verification after writing.

#include "app/safetynet/SafetyNetController.h"

#include "app/Changecode.h"
#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "app/safetynet/ComparisonWindow.h"
#include "app/safetynet/RecordWindow.h"
#include "files/Backups.h"
#include "files/ProgrammingRecord.h"
#include "files/VembaIni.h"
#include "image/Texts.h"
#include "support/FileBytes.h"
#include "support/OperationSamples.h"
#include "support/QtPrinters.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"
#include "support/SimulatedOpu.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const QStringList ReadJob = {"m", "m0622", "m0828", "m0830", "m0338", "i1A2B", "M",
                             "x", "x",     "x",     "x",     "x",     "m"};

QByteArray bytesOf(const ImageBytes& image) {
  return QByteArray(reinterpret_cast<const char*>(image.data()), ImageSize);
}

class SafetyNetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(opu.IsServing());
    opu.SetMemory(transmitterMemory());
    windows = CreateProgramWindows(
        MainEnvironment{&dialogs, ScratchStartup(scratch.path()), opu.LinkOptions()});
    w().Operations().SetPollIntervalMs(TestPollIntervalMs);
    dialogs.clear();
    opu.ClearCommands();
  }

  TfrmMain& w() { return *windows->frmMain; }
  QString data() { return w().DataFolder; }
  std::vector<RecordEntry> record() { return ReadRecordFile(data() + RecordFileName).value(); }
  // Runs `act` inside the next modal dialog's loop.
  void whileModal(std::function<void()> act) { QTimer::singleShot(0, &w(), std::move(act)); }

  SimulatedOpu opu;
  ScriptedDialogs dialogs;
  QTemporaryDir scratch;
  std::unique_ptr<ProgramWindows> windows;
};

TEST_F(SafetyNetTest, AReadAndAWriteLeaveTheirBytesAsBackupsThatTheRecordNames) {
  w().form.mnuCommReadFromDevice->trigger();
  ASSERT_EQ(w().StatusText(), Text(Msg::ReadFinished));
  auto lines = record();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].operation, Text(Msg::OperationRead));
  EXPECT_EQ(lines[0].codeBefore, "1A2B");
  EXPECT_EQ(lines[0].result, "OK");
  EXPECT_THAT(
      lines[0].backup.toStdString(),
      ::testing::MatchesRegex(
          "Sicherungen/1A2B/[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}_Lesen.ukova"));
  EXPECT_EQ(readBytes(data() + lines[0].backup), bytesOf(opu.Memory()));
  EXPECT_EQ(lines[0].sha256, Sha256Hex(opu.Memory()));

  w().form.edtBatteryTestInterval->setText("36");
  w().form.edtRadioCodeNew->setText("BEEF");
  opu.ClearCommands();
  w().form.mnuCommWriteToDevice->trigger();
  ASSERT_EQ(w().StatusText(), Text(Msg::ConfigurationUpdated));
  lines = record();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].operation, Text(Msg::OperationWrite));
  EXPECT_EQ(lines[1].codeBefore, "1A2B");
  EXPECT_EQ(lines[1].codeAfter, "BEEF");
  EXPECT_TRUE(lines[1].backup.startsWith("Sicherungen/BEEF/"));
  EXPECT_TRUE(lines[1].backup.endsWith("_Schreiben.ukova"));
  // Every byte sent is in the backup as the transmitter now holds it.
  const QByteArray written = readBytes(data() + lines[1].backup);
  ASSERT_EQ(written.size(), ImageSize);
  const ImageBytes memory = opu.Memory();
  for (const ImageBlock& block : ConfigurationWriteBlocks()) {
    for (int address = block.start; address < block.start + block.count; ++address)
      EXPECT_EQ(static_cast<std::uint8_t>(written[address]), memory[address]) << address;
  }
  EXPECT_EQ(written.mid(0x20, 2), QByteArray("\xBE\xEF"));
  ImageBytes backupBytes{};
  std::copy(written.begin(), written.end(), backupBytes.begin());
  EXPECT_EQ(lines[1].sha256, Sha256Hex(backupBytes));

  // With the check off the write's conversation is exactly the one it always was.
  EXPECT_EQ(
      opu.Conversation(),
      IdentifyingCommands + QStringList({"n", "n0327091300", "n022C240B", "n0830050A003300900118",
                                         "n013A03", "n0220BEEF", "i1A2B", "N", "n"}));
}

TEST_F(SafetyNetTest, AFailedReadIsRecordedWithItsMessageAndLeavesNoBackup) {
  OpuSimFaults faults;
  faults.jobOutcome = "04";
  opu.SetFaults(faults);
  w().form.mnuCommReadFromDevice->trigger();
  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::ReadFailed)));
  ASSERT_EQ(record().size(), 1u);
  EXPECT_EQ(record()[0].result, QString::number(Msg::ReadFailed));
  EXPECT_EQ(record()[0].message, Text(Msg::ReadFailed));
  EXPECT_TRUE(record()[0].backup.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(data() + BackupsFolderName));

  // A code change that cannot identify the transmitter is kept too.
  faults.version = "15-0 V1.0.0";
  opu.SetFaults(faults);
  dialogs.clear();
  windows->frmChangeCode->edtNewCode->setText("C0DE");
  windows->frmChangeCode->btnChange->click();
  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::OpuFirmwareTooOld)));
  ASSERT_EQ(record().size(), 2u);
  EXPECT_EQ(record()[1].operation, Text(Msg::OperationChangeCode));
  EXPECT_EQ(record()[1].result, QString::number(Msg::OpuFirmwareTooOld));
}

TEST_F(SafetyNetTest, ARecordThatCannotBeWrittenChangesNeitherOutcomeNorMessages) {
  ASSERT_TRUE(QDir(data()).mkdir(RecordFileName));
  w().form.mnuCommReadFromDevice->trigger();
  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_TRUE(w().StatusText().startsWith(Text(Msg::ReadFinished)));
  EXPECT_THAT(
      w().StatusText().toStdString(),
      HasSubstr(FormatText(Msg::RecordNotWritten, {data() + RecordFileName}).toStdString()));
  EXPECT_EQ(w().form.edtBatteryTestInterval->text(), "24");
  EXPECT_EQ(w().ImageSource, SourceTransmitter);
  EXPECT_EQ(QDir(data() + "Sicherungen/1A2B").entryList(QDir::Files).size(), 1);
}

TEST_F(SafetyNetTest, VerificationNamesTheFieldTheTransmitterDidNotKeep) {
  w().SafetyNet().mnuCommVerifyAfterWrite->setChecked(true);
  EXPECT_EQ(w().VembaIni.ReadSetting(SetupSection, VerifyAfterWriteKey), "1");
  w().form.mnuCommReadFromDevice->trigger();
  OpuSimFaults faults;
  faults.unkeptAddress = 0x2C;
  opu.SetFaults(faults);
  w().form.edtBatteryTestInterval->setText("36");
  opu.ClearCommands();
  w().form.mnuCommWriteToDevice->trigger();
  const QString line =
      FormatText(Msg::VerifyDifferenceLine, {Text(Msg::CaptionBatteryTestInterval), "36", "24"});
  const QString change =
      FormatText(Msg::WriteReviewLine, {Text(Msg::CaptionBatteryTestInterval), "24", "36"});
  EXPECT_THAT(dialogs.texts(),
              ElementsAre(FormatText(Msg::WriteReviewChanges, {"1A2B", change + "\n"}) + "\n" +
                              Text(Msg::WriteReviewAskChanges),
                          FormatText(Msg::VerifyFoundDifferences, {line + "\n"})));
  EXPECT_EQ(w().StatusText(), Text(Msg::WrittenButCheckFailed));
  EXPECT_EQ(opu.Conversation().mid(12), ReadJob);
  const auto lines = record();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].result, QString::number(Msg::VerifyFoundDifferences));
  EXPECT_EQ(lines[2].operation, Text(Msg::OperationVerify));
  EXPECT_EQ(lines[2].result, QString::number(Msg::VerifyFoundDifferences));

  // A transmitter that keeps everything is verified, and so is a new code. The transmitter still
  // holds 24, as the check found, so writing 36 is a change again.
  opu.SetFaults({});
  dialogs.clear();
  w().form.mnuCommWriteToDevice->trigger();
  EXPECT_THAT(dialogs.texts(),
              ElementsAre(FormatText(Msg::WriteReviewChanges, {"1A2B", change + "\n"}) + "\n" +
                          Text(Msg::WriteReviewAskChanges)));
  EXPECT_EQ(w().StatusText(), Text(Msg::ConfigurationUpdatedAndVerified));
  EXPECT_EQ(record().back().result, "OK");
  dialogs.clear();
  windows->frmChangeCode->edtNewCode->setText("C0DE");
  windows->frmChangeCode->btnChange->click();
  EXPECT_THAT(dialogs.texts(), ElementsAre(FormatText(Msg::ConfirmCodeChange, {"1A2B", "C0DE"}),
                                           Text(Msg::CodeChanged)));
  EXPECT_EQ(w().StatusText(), Text(Msg::CodeChangedAndVerified));
  EXPECT_EQ(record().back().codeBefore, "C0DE");
  EXPECT_EQ(record().back().result, "OK");
}

TEST_F(SafetyNetTest, TheRecordWindowListsNewestFirstAndOpensARowsBackup) {
  w().form.mnuCommReadFromDevice->trigger();
  w().form.edtBatteryTestInterval->setText("36");
  w().form.edtRadioCodeNew->setText("BEEF");
  w().form.mnuCommWriteToDevice->trigger();
  const QString readBackup = record()[0].backup;
  std::vector<int> rows;
  whileModal([&] {
    TfrmRecord& window = *w().SafetyNet().frmRecord;
    rows.push_back(window.tblRecord->model()->rowCount());
    EXPECT_EQ(window.CellText(0, 1), Text(Msg::OperationWrite));
    window.cbbxRadioCode->setCurrentIndex(window.cbbxRadioCode->findText("BEEF"));
    rows.push_back(window.tblRecord->model()->rowCount());
    window.cbbxRadioCode->setCurrentIndex(0);
    window.tblRecord->selectRow(1);
    window.btnOpenBackup->click();
  });
  w().SafetyNet().mnuFileRecord->trigger();
  EXPECT_THAT(rows, ElementsAre(2, 1));
  EXPECT_EQ(w().windowTitle(), QFileInfo(readBackup).fileName() + " - " + Text(Msg::ProgramTitle));
  EXPECT_EQ(w().ImageSource, SourceFile);
  EXPECT_EQ(w().form.edtBatteryTestInterval->text(), "24");
}

TEST_F(SafetyNetTest, TheComparisonMarksExactlyTheChangedField) {
  w().form.mnuCommReadFromDevice->trigger();
  const QString backup = data() + record()[0].backup;
  w().form.edtBatteryTestInterval->setText("36");
  dialogs.openAnswers = {backup};
  std::vector<int> marked;
  QString summary;
  whileModal([&] {
    TfrmComparison& window = *w().SafetyNet().frmComparison;
    for (int row = 0; row < window.tblFields->rowCount(); ++row) {
      if (window.IsRowMarked(row)) marked.push_back(row);
    }
    summary = window.lblSummary->text();
    if (!marked.empty()) {
      EXPECT_EQ(window.tblFields->item(marked[0], 1)->text(),
                Text(Msg::CaptionBatteryTestInterval));
      EXPECT_EQ(window.tblFields->item(marked[0], 2)->text(), "36");
      EXPECT_EQ(window.tblFields->item(marked[0], 3)->text(), "24");
    }
    window.btnClose->click();
  });
  w().SafetyNet().mnuFileCompare->trigger();
  EXPECT_EQ(marked.size(), 1u);
  EXPECT_EQ(summary, FormatText(Msg::CompareFieldsDiffer, {"1", "25"}));
  ASSERT_EQ(dialogs.openRequests.size(), 1u);
  EXPECT_EQ(dialogs.openRequests[0].folder, data() + "Sicherungen/1A2B");
  EXPECT_EQ(w().form.edtBatteryTestInterval->text(), "36");
}

}  // namespace
