#include "link/opu/OpuLinkOptions.h"

#include <algorithm>
#include <optional>

namespace {

const QString PortOption = QStringLiteral("--opu-port");
const QString TraceOption = QStringLiteral("--opu-trace");

// A link option found in the arguments, in either spelling, with its value.
struct FoundOption {
  QString name;
  QString value;
  OpuLinkOptionExtent extent;
};

std::optional<FoundOption> findOption(const QStringList& arguments, qsizetype index) {
  const QString& argument = arguments.at(index);
  for (const QString& option : {PortOption, TraceOption}) {
    if (argument == option) {
      if (index + 1 == arguments.size()) return FoundOption{option, {}, {1, true}};
      return FoundOption{option, arguments.at(index + 1), {2, false}};
    }
    if (argument.startsWith(option + u'=')) {
      return FoundOption{option, argument.mid(option.size() + 1), {1, false}};
    }
  }
  return std::nullopt;
}

}  // namespace

OpuLinkOptionExtent OpuLinkOptionAt(const QStringList& arguments, qsizetype index) {
  const auto found = findOption(arguments, index);
  return found ? found->extent : OpuLinkOptionExtent{};
}

OpuLinkOptions ParseOpuLinkOptions(const QStringList& arguments) {
  OpuLinkOptions options;
  for (qsizetype index = 0; index < arguments.size();) {
    const auto found = findOption(arguments, index);
    if (!found) {
      ++index;
      continue;
    }
    (found->name == PortOption ? options.portPath : options.traceFile) = found->value;
    index += found->extent.length;
  }
  return options;
}

QStringList WithoutOpuLinkOptions(const QStringList& arguments) {
  QStringList rest;
  for (qsizetype index = 0; index < arguments.size();) {
    const qsizetype length = OpuLinkOptionAt(arguments, index).length;
    if (length == 0) rest << arguments.at(index);
    index += std::max<qsizetype>(length, 1);
  }
  return rest;
}
