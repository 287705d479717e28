#include "app/CommandLine.h"

#include "files/ProgramVersion.h"
#include "link/opu/OpuLinkOptions.h"
#include "ui/Texts.h"

namespace {

constexpr int RefusedExitCode = 2;

CommandLineAnswer refusal(Msg::Id text, const QString& argument) {
  return {FormatText(text, {argument}), true, RefusedExitCode};
}

CommandLineAnswer version() {
  const QString number = GetProgramVersion();
  return {QStringLiteral("ukova-programmer %1\n")
              .arg(number.isEmpty() ? QStringLiteral("unknown") : number)};
}

}  // namespace

std::optional<CommandLineAnswer> AnswerCommandLine(const QStringList& arguments) {
  for (qsizetype index = 0; index < arguments.size(); ++index) {
    const QString& argument = arguments.at(index);
    // "--" ends the options: a file whose name starts with dashes can follow it.
    if (argument == u"--") return std::nullopt;
    const OpuLinkOptionExtent link = OpuLinkOptionAt(arguments, index);
    if (link.valueMissing) return refusal(Msg::CommandLineMissingValue, argument);
    if (link.length > 0) {
      index += link.length - 1;
      continue;
    }
    if (argument == u"--help" || argument == u"-h")
      return CommandLineAnswer{Text(Msg::CommandLineHelp)};
    if (argument == u"--version") return version();
    if (argument.startsWith(u"--")) return refusal(Msg::CommandLineUnknownOption, argument);
  }
  return std::nullopt;
}
