// The command line as a bench script meets it: the program run without a display against the
// simulated OPU on a real pseudo-terminal.

#include "cli/CliArguments.h"
#include "files/ImageFiles.h"
#include "support/CliProgram.h"
#include "support/SampleImage.h"
#include "support/SimulatedOpu.h"
#include "ui/Texts.h"

#include <QJsonArray>

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

  CliProgram cli;
  SimulatedOpu opu;
};

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

}  // namespace
