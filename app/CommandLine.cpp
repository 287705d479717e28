#include "app/CommandLine.h"

#include "files/ProgramVersion.h"
#include "image/Texts.h"
#include "link/opu/OpuLinkOptions.h"

namespace {

constexpr int RefusedExitCode = 2;
const QString serviceSwitch = QStringLiteral("-SERVICE");

CommandLineAnswer refusal(Msg::Id text, const QString& argument) {
  return {FormatText(text, {argument}), true, RefusedExitCode};
}

// Qt reads these options itself; they keep their single dash. The first take the next argument.
const QStringList qtOptionsWithValue = {
    QStringLiteral("-platform"),        QStringLiteral("-platformpluginpath"),
    QStringLiteral("-platformtheme"),   QStringLiteral("-plugin"),
    QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowicon"),
    QStringLiteral("-qwindowtitle"),    QStringLiteral("-style"),
    QStringLiteral("-stylesheet"),      QStringLiteral("-session"),
    QStringLiteral("-display"),         QStringLiteral("-geometry"),
    QStringLiteral("-title"),           QStringLiteral("-name"),
    QStringLiteral("-visual"),          QStringLiteral("-qmljsdebugger")};
const QStringList qtFlags = {QStringLiteral("-reverse"), QStringLiteral("-widgetcount"),
                             QStringLiteral("-nograb"), QStringLiteral("-dograb"),
                             QStringLiteral("-sync")};

}  // namespace

qsizetype QtOptionLength(const QStringList& arguments, qsizetype index) {
  const QString& argument = arguments.at(index);
  const QString name = argument.section(u'=', 0, 0);
  if (qtFlags.contains(argument)) return 1;
  if (!qtOptionsWithValue.contains(name)) return 0;
  return name != argument || index + 1 >= arguments.size() ? 1 : 2;
}

namespace {

// A single dash and more: an option. "-" alone names no option.
bool isSingleDashOption(const QString& argument) {
  return argument.size() > 1 && argument.startsWith(u'-');
}

CommandLineAnswer version() {
  const QString number = GetBuildVersion();
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
    if (argument.compare(serviceSwitch, Qt::CaseInsensitive) == 0) continue;
    if (const qsizetype qt = QtOptionLength(arguments, index); qt > 0) {
      index += qt - 1;
      continue;
    }
    if (isSingleDashOption(argument)) return refusal(Msg::CommandLineUnknownOption, argument);
  }
  return std::nullopt;
}
