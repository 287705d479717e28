#include "cli/CliArguments.h"

#include "image/Texts.h"

#include <gtest/gtest.h>

namespace {

// The part of a text before its first placeholder: what every refusal of that kind starts with.
QString Opening(Msg::Id text) {
  return Text(text).section(QStringLiteral("%s"), 0, 0);
}

// The command the arguments parse to; a refusal fails the test with its text.
CliCommand Parsed(const QStringList& arguments) {
  SCOPED_TRACE(arguments.join(u' ').toStdString());
  const CliParse parse = ParseCliArguments(arguments);
  EXPECT_TRUE(parse.command.has_value()) << parse.refusal.toStdString();
  return parse.command.value_or(CliCommand{});
}

TEST(CliArguments, TellsAnOperationFromTheWindowsArguments) {
  const struct {
    QStringList arguments;
    bool operation;
  } rows[] = {
      {{"read"}, true},
      {{"--opu-port", "/dev/pts/3", "-service", "write", "a.ukova"}, true},
      {{"--opu-port=read", "show", "a"}, true},
      {{"pendants/read.ukova"}, false},
      {{"-SERVICE", "pendants"}, false},
      {{"--help"}, false},
      {{"--opu-port"}, false},
      {{}, false},
  };
  for (const auto& row : rows)
    EXPECT_EQ(IsCliInvocation(row.arguments), row.operation)
        << row.arguments.join(u' ').toStdString();
}

TEST(CliArguments, TakesEachOperationWithItsOptions) {
  const struct {
    QStringList arguments;
    CliOperation operation;
    QString file, outFile, newCode;
    bool verify, dryRun, acceptFew, confirmCode, json, service;
  } rows[] = {
      {{"read"}, CliOperation::Read, "", "", "", false, false, false, false, false, false},
      {{"read", "--out=a b.ukova", "--json"},
       CliOperation::Read,
       "",
       "a b.ukova",
       "",
       false,
       false,
       false,
       false,
       true,
       false},
      {{"read", "--out", "x.ukova"},
       CliOperation::Read,
       "",
       "x.ukova",
       "",
       false,
       false,
       false,
       false,
       false,
       false},
      {{"write", "a.ukova", "--new-code", "1a2b", "--verify", "-y"},
       CliOperation::Write,
       "a.ukova",
       "",
       "1a2b",
       true,
       false,
       true,
       true,
       false,
       false},
      {{"write", "--new-code=4321", "--confirm-new-code", "a.ukova"},
       CliOperation::Write,
       "a.ukova",
       "",
       "4321",
       false,
       false,
       false,
       true,
       false,
       false},
      {{"write", "a.ukova", "--accept-few-measurements", "--dry-run"},
       CliOperation::Write,
       "a.ukova",
       "",
       "",
       false,
       true,
       true,
       false,
       false,
       false},
      {{"verify", "--", "-a.ukova"},
       CliOperation::Verify,
       "-a.ukova",
       "",
       "",
       false,
       false,
       false,
       false,
       false,
       false},
      {{"change-code", "0FFF", "--dry-run", "--yes"},
       CliOperation::ChangeCode,
       "",
       "",
       "0FFF",
       false,
       true,
       true,
       true,
       false,
       false},
      {{"--opu-port", "/dev/pts/3", "check", "--json"},
       CliOperation::Check,
       "",
       "",
       "",
       false,
       false,
       false,
       false,
       true,
       false},
      {{"show", "a.ukova", "-SERVICE"},
       CliOperation::Show,
       "a.ukova",
       "",
       "",
       false,
       false,
       false,
       false,
       false,
       true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.arguments.join(u' ').toStdString());
    const CliCommand command = Parsed(row.arguments);
    EXPECT_EQ(command.operation, row.operation);
    EXPECT_EQ(command.file, row.file);
    EXPECT_EQ(command.outFile, row.outFile);
    EXPECT_EQ(command.newCode, row.newCode);
    EXPECT_EQ(command.verify, row.verify);
    EXPECT_EQ(command.dryRun, row.dryRun);
    EXPECT_EQ(command.acceptFewMeasurements, row.acceptFew);
    EXPECT_EQ(command.confirmNewCode, row.confirmCode);
    EXPECT_EQ(command.json, row.json);
    EXPECT_EQ(command.serviceMode, row.service);
  }
  EXPECT_EQ(ParseCliArguments({"--opu-port", "/dev/pts/3", "check"}).command->link.portPath,
            "/dev/pts/3");
}

TEST(CliArguments, TakesASeriesWithItsCountAndCodePlan) {
  const struct {
    QStringList arguments;
    int count;
    std::optional<int> start, step;
    QString list;
    bool stopOnFailure, acceptFew;
  } rows[] = {
      {{"series", "a.ukova", "--count", "12"}, 12, {}, {}, "", false, false},
      {{"series", "a.ukova", "--count=5", "--codes", "a001:2", "--stop-on-failure"},
       5,
       0xA001,
       2,
       "",
       true,
       false},
      {{"series", "--list=Haus Linde.csv", "a.ukova", "--count", "999", "-y"},
       999,
       {},
       {},
       "Haus Linde.csv",
       false,
       true},
  };
  for (const auto& row : rows) {
    const CliCommand command = Parsed(row.arguments);
    EXPECT_EQ(command.operation, CliOperation::Series);
    EXPECT_EQ(command.file, "a.ukova");
    EXPECT_EQ(command.count, row.count);
    EXPECT_EQ(command.sequence.has_value(), row.start.has_value());
    if (command.sequence && row.start) {
      EXPECT_EQ(command.sequence->start, *row.start);
      EXPECT_EQ(command.sequence->step, *row.step);
    }
    EXPECT_EQ(command.listFile, row.list);
    EXPECT_EQ(command.stopOnFailure, row.stopOnFailure);
    EXPECT_EQ(command.acceptFewMeasurements, row.acceptFew);
  }
}

TEST(CliArguments, RefusesAWrongCommandLineWithItsMessage) {
  const struct {
    QStringList arguments;
    Msg::Id refusal;
  } rows[] = {
      {{"write"}, Msg::CliMissingOperand},
      {{"change-code"}, Msg::CliMissingOperand},
      {{"show", "a.ukova", "b.ukova"}, Msg::CliExtraOperand},
      {{"read", "extra"}, Msg::CliExtraOperand},
      {{"read", "--verify"}, Msg::CliOptionNotHere},
      {{"verify", "a.ukova", "--dry-run"}, Msg::CliOptionNotHere},
      {{"change-code", "1234", "--accept-few-measurements"}, Msg::CliOptionNotHere},
      {{"show", "a.ukova", "--yes"}, Msg::CliOptionNotHere},
      {{"read", "--pendant"}, Msg::CliOptionNotHere},
      {{"read", "--bogus"}, Msg::CommandLineUnknownOption},
      {{"read", "--out"}, Msg::CommandLineMissingValue},
      {{"write", "a.ukova", "--new-code"}, Msg::CommandLineMissingValue},
      {{"check", "--opu-trace"}, Msg::CommandLineMissingValue},
      {{"change-code", "0000"}, Msg::ReservedRadioCode},
      {{"change-code", "ffff"}, Msg::ReservedRadioCode},
      {{"change-code", "12"}, Msg::NewCodeNotFourHexDigits},
      {{"change-code", "12G4"}, Msg::NewCodeNotFourHexDigits},
      {{"write", "a.ukova", "--new-code", "0"}, Msg::NewCodeNotFourHexDigits},
      {{"write", "a.ukova", "--new-code", "FFFF"}, Msg::ReservedRadioCode},
      {{"series", "a.ukova"}, Msg::CliSeriesCountMissing},
      {{"series", "--count", "3"}, Msg::CliMissingOperand},
      {{"series", "a.ukova", "--count", "0"}, Msg::CliSeriesCountInvalid},
      {{"series", "a.ukova", "--count", "1000"}, Msg::CliSeriesCountInvalid},
      {{"series", "a.ukova", "--count", "zehn"}, Msg::CliSeriesCountInvalid},
      {{"series", "a.ukova", "--count", "3", "--codes", "FFFF:1"}, Msg::CliSeriesCodesInvalid},
      {{"series", "a.ukova", "--count", "3", "--codes", "7001"}, Msg::CliSeriesCodesInvalid},
      {{"series", "a.ukova", "--count", "3", "--codes", "7001:1", "--list", "l.csv"},
       Msg::CliSeriesTwoPlans},
      {{"series", "a.ukova", "--count", "3", "--confirm-new-code"}, Msg::CliOptionNotHere},
      {{"series", "a.ukova", "--count", "3", "--dry-run"}, Msg::CliOptionNotHere},
      {{"write", "a.ukova", "--count", "3"}, Msg::CliOptionNotHere},
      {{"read", "--stop-on-failure"}, Msg::CliOptionNotHere},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.arguments.join(u' ').toStdString());
    const CliParse parse = ParseCliArguments(row.arguments);
    EXPECT_FALSE(parse.command.has_value());
    EXPECT_TRUE(parse.refusal.startsWith(Opening(row.refusal))) << parse.refusal.toStdString();
  }
}

TEST(CliArguments, WhoAndForWhomGoWithTheOperationsThatKeepARecordLine) {
  const struct {
    QStringList arguments;
    QStringList who;    // technician, site, resident
    Msg::Id refusal{};  // none when taken
  } rows[] = {
      {{"read", "--technician", "Anna Berg", "--site=Haus Linde", "--resident", "Zi 12"},
       {"Anna Berg", "Haus Linde", "Zi 12"}},
      {{"write", "a.ukova", "--technician=  Anna\n Berg "}, {"Anna Berg", "", ""}},
      {{"change-code", "7001", "--resident=Zi 3"}, {"", "", "Zi 3"}},
      {{"verify", "a.ukova", "--site", "-"}, {"", "-", ""}},
      {{"show", "a.ukova", "--site", "Haus Linde"}, {}, Msg::CliOptionNotHere},
      {{"check", "--technician=Anna"}, {}, Msg::CliOptionNotHere},
      {{"read", "--resident"}, {}, Msg::CommandLineMissingValue},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.arguments.join(u' ').toStdString());
    const CliParse parse = ParseCliArguments(row.arguments);
    if (row.refusal != Msg::Id{}) {
      EXPECT_TRUE(parse.refusal.startsWith(Opening(row.refusal))) << parse.refusal.toStdString();
      continue;
    }
    ASSERT_TRUE(parse.command) << parse.refusal.toStdString();
    EXPECT_EQ(
        (QStringList{parse.command->technician, parse.command->site, parse.command->resident}),
        row.who);
  }
}

TEST(CliArguments, HelpWinsWhereverItStands) {
  for (const QStringList& arguments :
       {QStringList{"read", "--help"}, {"change-code", "-h"}, {"show", "--bogus", "--help"}})
    EXPECT_EQ(ParseCliArguments(arguments).helpText, Text(Msg::CliHelp) + Text(Msg::CliHelpRecord));
}

}  // namespace
