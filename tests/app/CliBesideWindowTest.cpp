// The command line and the window are two front ends on the same operations: against the same
// simulated pendant they leave the same record lines and the same backups.

#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "files/ImageFiles.h"
#include "files/ProgrammingRecord.h"
#include "image/Texts.h"
#include "support/CliProgram.h"
#include "support/FileBytes.h"
#include "support/SampleImage.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"
#include "support/SimulatedOpu.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A record line without what differs from run to run: the time, and the time in the backup's name.
RecordEntry Timeless(RecordEntry entry) {
  entry.time.clear();
  static const QRegularExpression stamp(
      QStringLiteral("\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d"));
  entry.backup.replace(stamp, QStringLiteral("<time>"));
  return entry;
}

TEST(CliBesideWindow, ReadAndWriteLeaveTheWindowsRecordLinesAndBackups) {
  SimulatedOpu opu;
  opu.SetMemory(SampleImageBytes({{RadioCodeAddress, 0x1A}, {RadioCodeAddress + 1, 0x2B}}));
  CliProgram cli;
  const QString file = QDir(cli.Home()).filePath(QStringLiteral("sent.ukova"));
  ASSERT_TRUE(WriteImageFile(SampleImageBytes({{0x32, 7}}), file));
  const QStringList onOpu{QStringLiteral("--opu-port"), opu.PortPath()};
  // The window opens the file the command line writes.
  ScriptedDialogs dialogs;
  QTemporaryDir scratch;
  const auto windows = CreateProgramWindows(
      MainEnvironment{&dialogs, ScratchStartup(scratch.path(), {file}), opu.LinkOptions()});
  TfrmMain& window = *windows->frmMain;
  window.Operations().SetPollIntervalMs(20);

  window.form.mnuCommWriteToDevice->trigger();
  ASSERT_EQ(window.StatusText(), Text(Msg::ConfigurationUpdated));
  ASSERT_EQ(cli.Run(onOpu + QStringList{QStringLiteral("write"), file}).exitCode, 0);
  window.form.mnuCommReadFromDevice->trigger();
  ASSERT_EQ(window.StatusText(), Text(Msg::ReadFinished));
  ASSERT_EQ(cli.Run(onOpu + QStringList{QStringLiteral("read")}).exitCode, 0);

  const auto windowRecord = ReadRecordFile(window.DataFolder + RecordFileName).value();
  const auto cliRecord = ReadRecordFile(cli.DataFolder() + RecordFileName).value();
  ASSERT_EQ(windowRecord.size(), 2U);
  ASSERT_EQ(cliRecord.size(), 2U);
  for (std::size_t line = 0; line < windowRecord.size(); ++line) {
    EXPECT_EQ(Timeless(cliRecord[line]), Timeless(windowRecord[line])) << "line " << line;
    EXPECT_EQ(readBytes(cli.DataFolder() + cliRecord[line].backup),
              readBytes(window.DataFolder + windowRecord[line].backup));
  }
}

}  // namespace
