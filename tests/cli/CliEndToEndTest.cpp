// The command line as a bench script meets it: the program run without a display against the
// simulated OPU on a real pseudo-terminal.

#include "cli/CliArguments.h"
#include "files/DataFolders.h"
#include "files/ImageFiles.h"
#include "files/ProgrammingRecord.h"
#include "image/ImageCodec.h"
#include "image/Texts.h"
#include "link/SeriesRun.h"
#include "support/CliProgram.h"
#include "support/SampleImage.h"
#include "support/SimulatedOpu.h"

#include <QJsonArray>
#include <QSaveFile>

#include <gtest/gtest.h>

namespace {

class CliEndToEnd : public ::testing::Test {
 protected:
  QString WriteSample(const QString& name, ImageChanges changes = {}) {
    const QString path = QDir(cli.Home()).filePath(name);
    EXPECT_TRUE(WriteImageFile(SampleImageBytes(changes), path));
    return path;
  }
  QStringList OnOpu(QStringList arguments) const {
    return QStringList{QStringLiteral("--opu-port"), opu.PortPath()} + arguments;
  }

  // The pendants ukova-opu-sim --pendants N presents: after each completed write the next one,
  // with a code of its own, takes the place of the one before.
  void PresentPendants(int count) {
    std::vector<ImageBytes> waiting;
    for (int number = 1; number < count; ++number)
      waiting.push_back(OpuSimulator::NewPendant(number));
    opu.QueuePendants(waiting);
  }

  // Each finished pendant's object, then the summary's.
  static std::vector<QJsonObject> JsonLines(const QString& out) {
    std::vector<QJsonObject> objects;
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts))
      objects.push_back(QJsonDocument::fromJson(line.toUtf8()).object());
    return objects;
  }

  // The pendant carries `code` and every byte a write of `configuration` sends.
  static void ExpectProgrammed(const ImageBytes& memory, const ImageBytes& configuration,
                               const QString& code) {
    EXPECT_EQ(VembaData::BytesToHexText(memory[RadioCodeAddress], memory[RadioCodeAddress + 1]),
              code);
    for (const ImageBlock& block : ConfigurationWriteBlocks())
      for (int address = block.start; address < block.start + block.count; ++address)
        EXPECT_EQ(memory[address], configuration[address]) << code.toStdString() << " " << address;
  }

  [[nodiscard]] std::vector<RecordEntry> Record() const {
    return ReadRecordFile(DataFilePath(cli.DataFolder(), RecordFileName))
        .value_or(std::vector<RecordEntry>{});
  }

  CliProgram cli;
  SimulatedOpu opu;
};

// A battery alarm every 12 hours instead of the factory's 24: a byte the pendants must take.
constexpr int BatteryAlarmAddress = 0x2C;

TEST_F(CliEndToEnd, ShowListsTheConfigurationAsTheSheetDoes) {
  const QString file = WriteSample(QStringLiteral("kitchen.ukova"));
  const CliRunResult plain = cli.Run({QStringLiteral("show"), file});
  EXPECT_EQ(plain.exitCode, ExitSuccess) << plain.err.toStdString();
  EXPECT_TRUE(plain.out.startsWith(Text(Msg::SheetTitle)));
  EXPECT_TRUE(plain.out.contains(Text(Msg::CaptionDementiaBlockTime) + QStringLiteral(": 0")));
  EXPECT_TRUE(plain.out.contains(FormatText(Msg::SheetSourceFile, {"kitchen.ukova"})));

  const CliRunResult json = cli.Run({QStringLiteral("show"), file, QStringLiteral("--json")});
  const QJsonObject object = json.Json();
  EXPECT_EQ(object.value("operation").toString(), "show");
  const QJsonArray groups = object.value("groups").toArray();
  ASSERT_EQ(groups.size(), 4);
  EXPECT_EQ(groups[0].toObject().value("caption").toString(), Text(Msg::CaptionRadioParameters));
}

TEST_F(CliEndToEnd, RefusesWhatItCannotDoWithItsExitCode) {
  const QString shortFile = QDir(cli.Home()).filePath(QStringLiteral("short.ukova"));
  QFile(shortFile).open(QIODevice::WriteOnly);
  const QString file = WriteSample(QStringLiteral("home.ukova"));
  const struct {
    QStringList arguments;
    int exitCode;
    QString message;
  } rows[] = {
      {{"show"}, ExitUsage, Text(Msg::CliMissingOperand).section("%s", 0, 0)},
      {{"read", "--frobnicate"},
       ExitUsage,
       FormatText(Msg::CommandLineUnknownOption, {"--frobnicate"})},
      {{"show", shortFile}, ExitFailed, Text(Msg::WrongFileSize)},
      {{"show", "missing.ukova"}, ExitFailed, Text(Msg::WrongFileSize)},
      {{"--opu-port", "/nonexistent/tty", "check"},
       ExitNoOpu,
       FormatText(Msg::CheckNamedPortMissing, {"/nonexistent/tty"})},
      {{"read", "--help"}, ExitSuccess, Text(Msg::CliHelp)},
      // A series without an OPU stops at its first pendant instead of trying every one.
      {{"--opu-port", "/nonexistent/tty", "series", file, "--count", "3", "--yes"},
       ExitNoOpu,
       SeriesCountsText(SeriesCounts{0, 1, 0, 0, 3})},
      {{"series", file, "--count", "2", "--list", "missing.csv"},
       ExitFailed,
       FormatText(Msg::SeriesListNotRead, {"missing.csv"})},
      // The OPU's only pendant, given A001, answers again and again: refused twice, it ends the
      // series instead of being refused for ever.
      {OnOpu({"series", file, "--count", "2", "--codes", "A001:1", "--yes"}), ExitFailed,
       FormatText(Msg::CliSeriesSamePendantRefused, {"A001"})},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.arguments.join(u' ').toStdString());
    const CliRunResult result = cli.Run(row.arguments);
    EXPECT_EQ(result.exitCode, row.exitCode);
    EXPECT_TRUE((result.err + result.out).contains(row.message)) << result.err.toStdString();
  }
}

TEST_F(CliEndToEnd, CheckRunsTheConnectionChecksSteps) {
  const CliRunResult plain = cli.Run(OnOpu({QStringLiteral("check")}));
  EXPECT_EQ(plain.exitCode, ExitSuccess) << plain.out.toStdString() << plain.err.toStdString();
  EXPECT_EQ(plain.out.count(Text(Msg::CheckPassed)), 3);

  OpuSimFaults oldFirmware;
  oldFirmware.version = QStringLiteral("14-1 V0.9.0");
  opu.SetFaults(oldFirmware);
  const CliRunResult old = cli.Run(OnOpu({QStringLiteral("check"), QStringLiteral("--json")}));
  EXPECT_EQ(old.exitCode, ExitNoOpu);
  const QJsonArray steps = old.Json().value("steps").toArray();
  ASSERT_EQ(steps.size(), 3);
  EXPECT_FALSE(steps[2].toObject().value("passed").toBool());
  EXPECT_EQ(steps[2].toObject().value("text").toString(),
            FormatText(Msg::CheckOpuTooOld, {"14-1 V0.9.0", "15-1"}));

  opu.SetFaults({});
  const CliRunResult pendant =
      cli.Run(OnOpu({QStringLiteral("check"), QStringLiteral("--pendant")}));
  EXPECT_EQ(pendant.exitCode, ExitSuccess) << pendant.out.toStdString();
  EXPECT_TRUE(pendant.out.contains(FormatText(Msg::CheckPendantHeard, {opu.RadioCode(), "07"})));
}

TEST_F(CliEndToEnd, ASeriesGivesEachPendantTheNextCodeOfTheSequence) {
  PresentPendants(5);
  const ImageBytes configuration = SampleImageBytes({{BatteryAlarmAddress, 12}});
  const QString file = WriteSample(QStringLiteral("home.ukova"), {{BatteryAlarmAddress, 12}});
  const CliRunResult result =
      cli.Run(OnOpu({"series", file, "--count", "5", "--codes", "A001:2", "--json", "--yes"}));
  EXPECT_EQ(result.exitCode, ExitSuccess) << result.err.toStdString();

  const std::vector<QJsonObject> objects = JsonLines(result.out);
  ASSERT_EQ(objects.size(), 6U) << result.out.toStdString();
  const QStringList codes = {"A001", "A003", "A005", "A007", "A009"};
  const std::vector<ImageBytes> memories = opu.Pendants();
  ASSERT_EQ(memories.size(), 5U);
  for (int unit = 0; unit < 5; ++unit) {
    EXPECT_EQ(objects[unit].value("unit").toInt(), unit + 1);
    EXPECT_EQ(objects[unit].value("codeAfter").toString(), codes[unit]);
    EXPECT_EQ(objects[unit].value("outcome").toString(), "passed");
    ExpectProgrammed(memories[unit], configuration, codes[unit]);
  }
  const QJsonObject summary = objects.back();
  EXPECT_TRUE(summary.value("summary").toBool());
  EXPECT_EQ(summary.value("passed").toInt(), 5);
  EXPECT_EQ(summary.value("exitCode").toInt(), ExitSuccess);
  // A write and its check per pendant, each line naming the series.
  const std::vector<RecordEntry> record = Record();
  ASSERT_EQ(record.size(), 10U);
  for (const RecordEntry& line : record) {
    EXPECT_EQ(line.series, summary.value("series").toString());
    EXPECT_EQ(line.result, ResultOk);
  }
}

TEST_F(CliEndToEnd, ASeriesFromAListRefusesADuplicateAndPutsAFailedPendantAside) {
  PresentPendants(5);
  // The second pendant keeps its battery alarm interval whatever it is sent.
  OpuSimFaults faults;
  faults.unkeptAddress = BatteryAlarmAddress;
  faults.unkeptPendant = 1;
  opu.SetFaults(faults);
  const ImageBytes configuration = SampleImageBytes({{BatteryAlarmAddress, 12}});
  const QString file = WriteSample(QStringLiteral("home.ukova"), {{BatteryAlarmAddress, 12}});
  const QString list = QDir(cli.Home()).filePath(QStringLiteral("Haus Linde.csv"));
  QSaveFile listFile(list);
  ASSERT_TRUE(listFile.open(QIODevice::WriteOnly));
  listFile.write(
      "Code;Einrichtung;Raum/Bewohner;Notiz\r\n"
      "7101;Haus Linde;Zi 1 Frau M\xC3\xBCller;\r\n"
      "7102;Haus Linde;Zi 2;\r\n"
      "7102;Haus Linde;Zi 3;doppelt\r\n"
      "7104;Haus Linde;Zi 4;\r\n"
      "7105;Haus Linde;Zi 5;\r\n"
      "7106;Haus Linde;Zi 6;\r\n");
  ASSERT_TRUE(listFile.commit());

  const CliRunResult result =
      cli.Run(OnOpu({"series", file, "--count", "4", "--list", list, "--json", "--yes"}));
  EXPECT_EQ(result.exitCode, ExitDifferences) << result.err.toStdString();
  EXPECT_EQ(result.err.count(FormatText(Msg::SeriesCodeTwiceOnList, {"7102"})), 1);

  const std::vector<QJsonObject> objects = JsonLines(result.out);
  ASSERT_EQ(objects.size(), 5U) << result.out.toStdString();
  const struct {
    QString code, outcome, room;
    int result;
  } units[] = {
      {"7101", "passed", "Zi 1 Frau Müller", 0},
      {"7104", "skipped", "Zi 4", Msg::VerifyFoundDifferences},
      {"7105", "passed", "Zi 5", 0},
      {"7106", "passed", "Zi 6", 0},
  };
  for (int unit = 0; unit < 4; ++unit) {
    SCOPED_TRACE(unit);
    EXPECT_EQ(objects[unit].value("codeAfter").toString(), units[unit].code);
    EXPECT_EQ(objects[unit].value("outcome").toString(), units[unit].outcome);
    EXPECT_EQ(objects[unit].value("result").toInt(), units[unit].result);
    EXPECT_EQ(objects[unit].value("assignment").toObject().value("room").toString(),
              units[unit].room);
  }
  // The duplicate was passed over before the second pendant was written, the code the failed
  // pendant carries before the third.
  const QJsonArray duplicate = objects[1].value("passedOver").toArray();
  ASSERT_EQ(duplicate.size(), 1);
  EXPECT_EQ(duplicate[0].toObject().value("code").toString(), "7102");
  EXPECT_EQ(duplicate[0].toObject().value("reason").toInt(), Msg::SeriesCodeTwiceOnList);
  const QJsonArray carried = objects[2].value("passedOver").toArray();
  ASSERT_EQ(carried.size(), 1);
  EXPECT_EQ(carried[0].toObject().value("reason").toInt(), Msg::SeriesCodeUsedInSeries);
  EXPECT_EQ(objects[4].value("skipped").toInt(), 1);
  EXPECT_EQ(objects[4].value("passed").toInt(), 3);

  // The fifth pendant is never picked up: the series ended with four.
  const std::vector<ImageBytes> memories = opu.Pendants();
  ASSERT_EQ(memories.size(), 4U);
  ExpectProgrammed(memories[0], configuration, "7101");
  EXPECT_EQ(memories[1][BatteryAlarmAddress], OpuSimulator::FactoryImage()[BatteryAlarmAddress]);
  ExpectProgrammed(memories[2], configuration, "7105");
  ExpectProgrammed(memories[3], configuration, "7106");

  QStringList lines;
  for (const RecordEntry& line : Record())
    lines << QStringList{line.operation, line.codeAfter, line.result, line.assignment}.join(u'|');
  const QString differences = QString::number(Msg::VerifyFoundDifferences);
  const QString write = RecordOperationName(OperationKind::Write) + u'|';
  const QString check = RecordOperationName(OperationKind::Verify) + u'|';
  EXPECT_EQ(lines, QStringList(
                       {write + "7101|OK|Haus Linde / Zi 1 Frau Müller",
                        check + "7101|OK|Haus Linde / Zi 1 Frau Müller",
                        write + "7104|" + differences + "|Haus Linde / Zi 4",
                        check + "7104|" + differences + "|Haus Linde / Zi 4",
                        write + "7105|OK|Haus Linde / Zi 5", check + "7105|OK|Haus Linde / Zi 5",
                        write + "7106|OK|Haus Linde / Zi 6", check + "7106|OK|Haus Linde / Zi 6"}));
}

}  // namespace
