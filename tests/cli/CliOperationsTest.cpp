// read, write, verify and change-code from the command line against the simulated OPU: the
// window's operations behind a second front end, with their exit codes, record lines and backups.

#include "cli/CliArguments.h"
#include "files/ImageFiles.h"
#include "files/ProgrammingRecord.h"
#include "image/Texts.h"
#include "support/CliProgram.h"
#include "support/SampleImage.h"
#include "support/SimulatedOpu.h"
#include "tools/opu-sim/OpuSimulator.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace {

class CliOperations : public ::testing::Test {
 protected:
  QString HomeFile(const QString& name) const { return QDir(cli.Home()).filePath(name); }
  QString WriteSample(const QString& name, ImageChanges changes = {}) {
    const QString path = HomeFile(name);
    EXPECT_TRUE(WriteImageFile(SampleImageBytes(changes), path));
    return path;
  }
  QStringList OnOpu(QStringList arguments) const {
    return QStringList{QStringLiteral("--opu-port"), opu.PortPath()} + arguments;
  }
  std::vector<RecordEntry> Record() const {
    return ReadRecordFile(cli.DataFolder() + RecordFileName).value_or(std::vector<RecordEntry>{});
  }
  // Waits until the OPU has been sent `command`.
  bool WaitForCommand(const QString& command) const {
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
      if (opu.Commands().contains(command)) return true;
      QThread::msleep(20);
    }
    return false;
  }

  CliProgram cli;
  SimulatedOpu opu;
};

TEST_F(CliOperations, ReadKeepsTheFileTheBackupAndTheRecordLine) {
  const QString out = HomeFile(QStringLiteral("read.ukova"));
  const CliRunResult run = cli.Run(
      OnOpu({QStringLiteral("read"), QStringLiteral("--out"), out, QStringLiteral("--json")}));
  ASSERT_EQ(run.exitCode, ExitSuccess) << run.err.toStdString();
  ImageBytes bytes{};
  ASSERT_TRUE(ReadImageFile(out, bytes));
  const ImageBytes memory = opu.Memory();
  for (int address = 0x20; address <= 0x3A; ++address)
    EXPECT_EQ(bytes[address], memory[address]) << "address " << address;

  const QJsonObject json = run.Json();
  EXPECT_EQ(json.value("operation").toString(), "read");
  EXPECT_EQ(json.value("codeBefore").toString(), opu.RadioCode());
  EXPECT_EQ(json.value("result").toInt(), 0);
  EXPECT_EQ(json.value("text").toString(), Text(Msg::ReadFinished));
  EXPECT_EQ(json.value("sha256").toString(), Sha256Hex(bytes));

  const std::vector<RecordEntry> record = Record();
  ASSERT_EQ(record.size(), 1U);
  EXPECT_EQ(record[0].operation, Text(Msg::OperationRead));
  EXPECT_EQ(record[0].result, ResultOk);
  EXPECT_EQ(record[0].backup, json.value("backup").toString());
  ImageBytes backup{};
  ASSERT_TRUE(ReadImageFile(cli.DataFolder() + record[0].backup, backup));
  EXPECT_EQ(backup, bytes);
}

TEST_F(CliOperations, RecordLinesNameTheWindowsTechnicianOrTheOneGivenAndThePendantsSite) {
  ASSERT_TRUE(QDir().mkpath(cli.DataFolder()));
  QFile settings(cli.DataFolder() + QStringLiteral("Values.ini"));
  ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
  settings.write("[Technician]\r\nName=Anna Berg\r\n");
  settings.close();
  ASSERT_EQ(cli.Run(OnOpu({QStringLiteral("read")})).exitCode, ExitSuccess);
  ASSERT_EQ(cli.Run(OnOpu({"read", "--technician", "Ben Kurz", "--site=Haus Linde", "--resident",
                           "Zi 12"}))
                .exitCode,
            ExitSuccess);
  // Without options the pendant's code brings back what was recorded for it.
  ASSERT_EQ(cli.Run(OnOpu({QStringLiteral("read")})).exitCode, ExitSuccess);
  const std::vector<RecordEntry> record = Record();
  ASSERT_EQ(record.size(), 3U);
  EXPECT_EQ((QStringList{record[0].technician, record[0].site, record[0].resident}),
            (QStringList{"Anna Berg", "", ""}));
  EXPECT_EQ((QStringList{record[1].technician, record[1].site, record[1].resident}),
            (QStringList{"Ben Kurz", "Haus Linde", "Zi 12"}));
  EXPECT_EQ((QStringList{record[2].technician, record[2].site, record[2].resident}),
            (QStringList{"Anna Berg", "Haus Linde", "Zi 12"}));
}

TEST_F(CliOperations, WriteSendsTheFileAndChecksItAfterwards) {
  const QString file = WriteSample(QStringLiteral("new.ukova"), {{0x32, 7}, {0x33, 0x25}});
  const CliRunResult run = cli.Run(
      OnOpu({QStringLiteral("write"), file, QStringLiteral("--verify"), QStringLiteral("--json")}));
  ASSERT_EQ(run.exitCode, ExitSuccess) << run.err.toStdString();
  EXPECT_EQ(opu.Memory()[0x32], 7);
  EXPECT_EQ(opu.Memory()[0x33], 0x25);
  EXPECT_EQ(run.Json().value("text").toString(), Text(Msg::ConfigurationUpdatedAndVerified));
  const std::vector<RecordEntry> record = Record();
  ASSERT_EQ(record.size(), 2U);
  EXPECT_EQ(record[0].operation, Text(Msg::OperationWrite));
  EXPECT_TRUE(record[0].backup.endsWith(QStringLiteral("_Schreiben.ukova")));
  EXPECT_EQ(record[1].operation, Text(Msg::OperationVerify));
  EXPECT_EQ(record[1].result, ResultOk);
}

TEST_F(CliOperations, VerifyNamesTheFieldsThePendantDidNotKeep) {
  const QString file = WriteSample(QStringLiteral("new.ukova"), {{0x32, 7}});
  OpuSimFaults unkept;
  unkept.unkeptAddress = 0x32;
  opu.SetFaults(unkept);
  ASSERT_EQ(cli.Run(OnOpu({QStringLiteral("write"), file})).exitCode, ExitSuccess);

  const CliRunResult run =
      cli.Run(OnOpu({QStringLiteral("verify"), file, QStringLiteral("--json")}));
  EXPECT_EQ(run.exitCode, ExitDifferences) << run.err.toStdString();
  const QJsonArray differences = run.Json().value("differences").toArray();
  ASSERT_EQ(differences.size(), 1);
  EXPECT_EQ(differences[0].toObject().value("field").toString(),
            Text(Msg::CaptionDementiaBlockTime));
  EXPECT_EQ(differences[0].toObject().value("written").toString(), "7");
  EXPECT_TRUE(run.err.contains(Text(Msg::CaptionDementiaBlockTime)));

  // The verify's read left a backup without the block time: setting it again asks.
  opu.SetFaults({});
  const CliRunResult unanswered = cli.Run(OnOpu({QStringLiteral("write"), file}));
  EXPECT_EQ(unanswered.exitCode, ExitUsage);
  EXPECT_TRUE(unanswered.err.contains(QStringLiteral("--yes")));
  ASSERT_EQ(cli.Run(OnOpu({QStringLiteral("write"), file, QStringLiteral("--yes")})).exitCode,
            ExitSuccess);
  EXPECT_EQ(cli.Run(OnOpu({QStringLiteral("verify"), file})).exitCode, ExitSuccess);
}

TEST_F(CliOperations, ChangeCodeGivesThePendantItsNewCode) {
  const QString before = opu.RadioCode();
  const CliRunResult refused =
      cli.Run(OnOpu({QStringLiteral("change-code"), QStringLiteral("4a2c")}));
  EXPECT_EQ(refused.exitCode, ExitUsage);
  EXPECT_TRUE(refused.err.contains(QStringLiteral("--confirm-new-code")));
  EXPECT_EQ(opu.RadioCode(), before);

  const CliRunResult run = cli.Run(OnOpu({QStringLiteral("change-code"), QStringLiteral("4a2c"),
                                          QStringLiteral("--yes"), QStringLiteral("--json")}));
  ASSERT_EQ(run.exitCode, ExitSuccess) << run.err.toStdString();
  EXPECT_EQ(opu.RadioCode(), "4A2C");
  EXPECT_EQ(run.Json().value("codeBefore").toString(), before);
  EXPECT_EQ(run.Json().value("codeAfter").toString(), "4A2C");
  EXPECT_EQ(Record().back().operation, Text(Msg::OperationChangeCode));
}

TEST_F(CliOperations, DryRunSendsNothing) {
  const QString file = WriteSample(QStringLiteral("new.ukova"));
  const CliRunResult run =
      cli.Run(OnOpu({QStringLiteral("write"), file, QStringLiteral("--dry-run"),
                     QStringLiteral("--new-code"), QStringLiteral("4A2C")}));
  EXPECT_EQ(run.exitCode, ExitSuccess) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains(QStringLiteral("n02204A2C")));
  EXPECT_TRUE(opu.Commands().isEmpty());
  EXPECT_TRUE(Record().empty());
}

TEST_F(CliOperations, CtrlCEndsTheWaitCleanly) {
  const struct {
    QString waitingOn;  // the poll that shows which wait is running
    Msg::Id message;
    QString lastCommand;
  } rows[] = {
      {QStringLiteral("A"), Msg::CodeReadCancelled, QStringLiteral("s0")},
      {QStringLiteral("M"), Msg::ReadCancelled, QStringLiteral("m")},
  };
  opu.SetButtonDelay(OpuSimulator::ManualButton);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.waitingOn.toStdString());
    opu.ClearCommands();
    const CliRunResult run = cli.Run(OnOpu({QStringLiteral("read")}), [&](QProcess& process) {
      if (row.waitingOn == u"M") {
        ASSERT_TRUE(WaitForCommand(QStringLiteral("A")));
        opu.PressButton();
      }
      ASSERT_TRUE(WaitForCommand(row.waitingOn));
      ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    });
    EXPECT_EQ(run.exitCode, ExitCancelled) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(Text(Msg::CliCancelled)));
    EXPECT_EQ(opu.Commands().last(), row.lastCommand);
    EXPECT_EQ(Record().back().result, QString::number(row.message));
  }
}

TEST_F(CliOperations, EachFaultEndsWithItsExitCodeAndMessage) {
  const QString file = WriteSample(QStringLiteral("new.ukova"));
  const struct {
    const char* name;
    std::function<void(OpuSimFaults&)> fault;
    QString operation;
    int exitCode;
    Msg::Id message;
  } rows[] = {
      // clang-format off
      {"line hangs up", [](OpuSimFaults& f) { f.hangUpOn = "v"; }, "read", ExitNoOpu, Msg::OpuNotReachable},
      {"old firmware", [](OpuSimFaults& f) { f.version = "14-1 V0.9.0"; }, "read", ExitFailed, Msg::OpuFirmwareTooOld},
      {"silent version", [](OpuSimFaults& f) { f.silentCommands = "v"; }, "read", ExitNoOpu, Msg::OpuNotReachable},
      {"wrong checksum", [](OpuSimFaults& f) { f.wrongChecksum = true; }, "read", ExitNoOpu, Msg::OpuNotReachable},
      {"garbage before answers", [](OpuSimFaults& f) { f.garbageBefore = "x"; }, "read", ExitNoOpu, Msg::OpuNotReachable},
      {"answers in pieces", [](OpuSimFaults& f) { f.answerPieces = 3; f.pieceDelayMs = 5; }, "read", ExitSuccess, Msg::ReadFinished},
      {"listening fails", [](OpuSimFaults& f) { f.listeningFails = true; }, "read", ExitFailed, Msg::CodeReadCancelled},
      {"job refused", [](OpuSimFaults& f) { f.refuseJob = true; }, "read", ExitFailed, Msg::OpuGetJobFailed},
      {"job status 04", [](OpuSimFaults& f) { f.jobOutcome = "04"; }, "read", ExitFailed, Msg::ReadFailed},
      {"job status 05", [](OpuSimFaults& f) { f.jobOutcome = "05"; }, "read", ExitFailed, Msg::WaitTimedOut},
      {"write status 04", [](OpuSimFaults& f) { f.jobOutcome = "04"; }, "write", ExitFailed, Msg::WriteFailed},
      {"blocks refused", [](OpuSimFaults& f) { f.refuseBlocks = true; }, "write", ExitFailed, Msg::WriteFailed},
      {"blocks silent", [](OpuSimFaults& f) { f.silentBlocks = true; }, "write", ExitFailed, Msg::WriteFailed},
      {"read blocks lost", [](OpuSimFaults& f) { f.readBlocksLost = 1; }, "read", ExitFailed, Msg::ReadFailed},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    OpuSimFaults faults;
    row.fault(faults);
    opu.SetFaults(faults);
    if (!opu.IsServing()) opu.Restart();
    QStringList arguments{row.operation};
    if (row.operation == u"write") arguments << file;
    const CliRunResult run = cli.Run(OnOpu(arguments));
    EXPECT_EQ(run.exitCode, row.exitCode) << run.err.toStdString();
    EXPECT_TRUE((run.err + run.out).contains(Text(row.message).section(QStringLiteral("%s"), 0, 0)))
        << run.err.toStdString();
    opu.Restart();
  }
  opu.SetFaults({});
  const CliRunResult absent = cli.Run({"--opu-port", HomeFile("no-such-port"), "read"});
  EXPECT_EQ(absent.exitCode, ExitNoOpu);
  EXPECT_TRUE(absent.err.contains(Text(Msg::OpuNotReachable)));
}

}  // namespace
