#include "app/CommandLine.h"

#include "files/ProgramVersion.h"
#include "image/Texts.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

enum class Outcome { Window, Help, Version, UnknownOption, MissingValue };

struct Row {
  QStringList arguments;
  Outcome outcome;
  QString named;  // the argument a refusal names
};

}  // namespace

TEST(CommandLine, AnsweredBeforeAnyWindowOrRefused) {
  const Row rows[] = {
      {{}, Outcome::Window, {}},
      {{"-SERVICE", "/home", "kitchen.ukova"}, Outcome::Window, {}},
      {{"--opu-port", "/dev/pts/3", "--opu-trace=/tmp/w"}, Outcome::Window, {}},
      // Qt's own options keep their single dash and are Qt's business.
      {{"-platform", "offscreen", "-style=fusion", "-reverse", "-service"}, Outcome::Window, {}},
      {{"-qwindowtitle", "-x"}, Outcome::Window, {}},
      {{"-", "-SeRvIcE"}, Outcome::Window, {}},
      // Any other single-dash option is refused, never taken for a file or left to Qt.
      {{"-platform", "offscreen", "-x"}, Outcome::UnknownOption, "-x"},
      {{"-v"}, Outcome::UnknownOption, "-v"},
      {{"kitchen.ukova", "-version"}, Outcome::UnknownOption, "-version"},
      {{"-SERVICEX"}, Outcome::UnknownOption, "-SERVICEX"},
      {{"--", "--weird-name.ukova"}, Outcome::Window, {}},
      {{"--help"}, Outcome::Help, {}},
      {{"-h"}, Outcome::Help, {}},
      {{"kitchen.ukova", "--version", "--help"}, Outcome::Version, {}},
      {{"--bogus", "--help"}, Outcome::UnknownOption, "--bogus"},
      {{"--HELP"}, Outcome::UnknownOption, "--HELP"},
      {{"--opu-port:/dev/x"}, Outcome::UnknownOption, "--opu-port:/dev/x"},
      // The value of a link option is never read as an option itself.
      {{"--opu-trace", "--help"}, Outcome::Window, {}},
      {{"-SERVICE", "--opu-port"}, Outcome::MissingValue, "--opu-port"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments.join(u' ').toStdString());
    const auto answer = AnswerCommandLine(row.arguments);
    ASSERT_EQ(answer.has_value(), row.outcome != Outcome::Window);
    if (!answer) continue;
    EXPECT_FALSE(answer->text.isEmpty());
    switch (row.outcome) {
      case Outcome::Help:
        EXPECT_EQ(answer->text, Text(Msg::CommandLineHelp));
        break;
      case Outcome::Version:
        EXPECT_EQ(answer->text, "ukova-programmer " + GetBuildVersion() + "\n");
        break;
      case Outcome::UnknownOption:
        EXPECT_EQ(answer->text, FormatText(Msg::CommandLineUnknownOption, {row.named}));
        break;
      case Outcome::MissingValue:
        EXPECT_EQ(answer->text, FormatText(Msg::CommandLineMissingValue, {row.named}));
        break;
      case Outcome::Window:
        break;
    }
    const bool refused =
        row.outcome == Outcome::UnknownOption || row.outcome == Outcome::MissingValue;
    EXPECT_EQ(answer->toStandardError, refused);
    EXPECT_EQ(answer->exitCode, refused ? 2 : 0);
  }
}
