#include "app/CommandLine.h"

#include "files/Settings.h"
#include "link/opu/OpuLinkOptions.h"
#include "ui/Texts.h"

namespace {

constexpr int HelpText = 11300;
constexpr int UnknownOptionText = 11301;
constexpr int MissingValueText = 11302;
constexpr int RefusedExitCode = 2;

CommandLineAnswer refusal(int text, const QString& argument) {
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
    if (link.valueMissing) return refusal(MissingValueText, argument);
    if (link.length > 0) {
      index += link.length - 1;
      continue;
    }
    if (argument == u"--help" || argument == u"-h") return CommandLineAnswer{Text(HelpText)};
    if (argument == u"--version") return version();
    if (argument.startsWith(u"--")) return refusal(UnknownOptionText, argument);
  }
  return std::nullopt;
}
