#include "cli/CliArguments.h"

#include "image/FieldRules.h"
#include "image/Texts.h"

#include <array>
#include <utility>

namespace {

struct OperationWord {
  const char16_t* word;
  CliOperation operation;
};

constexpr std::array<OperationWord, 7> OperationWords{{
    {u"read", CliOperation::Read},
    {u"write", CliOperation::Write},
    {u"verify", CliOperation::Verify},
    {u"change-code", CliOperation::ChangeCode},
    {u"check", CliOperation::Check},
    {u"show", CliOperation::Show},
    {u"series", CliOperation::Series},
}};

std::optional<CliOperation> OperationNamed(const QString& word) {
  for (const OperationWord& entry : OperationWords)
    if (word == QStringView(entry.word)) return entry.operation;
  return std::nullopt;
}

bool IsServiceSwitch(const QString& argument) {
  return argument.toUpper() == u"-SERVICE";
}

// Where the operation word stands: after the link options and the service switch.
std::optional<qsizetype> OperationIndex(const QStringList& arguments) {
  for (qsizetype index = 0; index < arguments.size(); ++index) {
    const OpuLinkOptionExtent link = OpuLinkOptionAt(arguments, index);
    if (link.valueMissing) return std::nullopt;
    if (link.length > 0) {
      index += link.length - 1;
      continue;
    }
    if (IsServiceSwitch(arguments.at(index))) continue;
    if (OperationNamed(arguments.at(index))) return index;
    return std::nullopt;
  }
  return std::nullopt;
}

// The options each operation takes, besides --json, the link options and -SERVICE.
enum Option : unsigned {
  OptOut = 1U << 0U,
  OptNewCode = 1U << 1U,
  OptVerify = 1U << 2U,
  OptDryRun = 1U << 3U,
  OptYes = 1U << 4U,
  OptPendant = 1U << 5U,
  OptRecord = 1U << 6U,  // who and for whom: the operations that write a record line
  OptSeries = 1U << 7U,  // --count, --codes, --list, --stop-on-failure
};

struct OperationShape {
  unsigned options;
  int operands;  // FILE or NEW
  Msg::Id operandName;
};

OperationShape ShapeOf(CliOperation operation) {
  switch (operation) {
    case CliOperation::Read:
      return {OptOut | OptRecord, 0, Msg::CliOperandFile};
    case CliOperation::Write:
      return {OptNewCode | OptVerify | OptDryRun | OptYes | OptRecord, 1, Msg::CliOperandFile};
    case CliOperation::Verify:
      return {OptRecord, 1, Msg::CliOperandFile};
    case CliOperation::ChangeCode:
      return {OptDryRun | OptYes | OptRecord, 1, Msg::CliOperandCode};
    case CliOperation::Check:
      return {OptPendant, 0, Msg::CliOperandFile};
    case CliOperation::Show:
      return {0, 1, Msg::CliOperandFile};
    case CliOperation::Series:
      return {OptSeries | OptYes | OptRecord, 1, Msg::CliOperandFile};
  }
  return {};
}

class Parser {
 public:
  Parser(const QStringList& arguments, qsizetype operationIndex)
      : arguments_(arguments), word_(arguments.at(operationIndex)) {
    command_.operation = *OperationNamed(word_);
    command_.link = ParseOpuLinkOptions(arguments);
  }

  CliParse Parse() {
    // Help wins wherever it stands before "--", also beside a mistake.
    for (const QString& argument : arguments_) {
      if (argument == u"--") break;
      if (argument == u"--help" || argument == u"-h")
        return {{}, Text(Msg::CliHelp) + Text(Msg::CliHelpRecord), {}};
    }
    const OperationShape shape = ShapeOf(command_.operation);
    QStringList operands;
    bool optionsEnded = false;
    for (index_ = 0; index_ < arguments_.size(); ++index_) {
      const QString& argument = arguments_.at(index_);
      if (optionsEnded || !argument.startsWith(u'-') || argument == u"-") {
        operands << argument;
        continue;
      }
      if (argument == u"--") {
        optionsEnded = true;
        continue;
      }
      if (IsServiceSwitch(argument)) {
        command_.serviceMode = true;
        continue;
      }
      const OpuLinkOptionExtent link = OpuLinkOptionAt(arguments_, index_);
      if (link.valueMissing) return Refuse(Msg::CommandLineMissingValue, argument);
      if (link.length > 0) {
        index_ += link.length - 1;
        continue;
      }
      if (auto refusal = TakeOption(argument, shape.options)) return {{}, {}, *refusal};
    }
    // The operation word itself is the first operand.
    operands.removeFirst();
    if (operands.size() < shape.operands)
      return Refuse(Msg::CliMissingOperand, Text(shape.operandName));
    if (operands.size() > shape.operands) return Refuse(Msg::CliExtraOperand, operands.last());
    if (shape.operands == 1) {
      if (command_.operation == CliOperation::ChangeCode)
        command_.newCode = operands.first();
      else
        command_.file = operands.first();
    }
    if (auto refusal = RefusedCode()) return {{}, {}, *refusal};
    if (auto refusal = RefusedSeries()) return {{}, {}, *refusal};
    return {command_, {}, {}};
  }

 private:
  CliParse Refuse(Msg::Id text, const QString& argument) const {
    return {{}, {}, FormatText(text, {argument})};
  }

  // The value of "--name=VALUE" or "--name VALUE"; none when it is missing.
  std::optional<QString> ValueOf(const QString& argument, const QString& name) {
    if (argument.startsWith(name + u'=')) return argument.mid(name.size() + 1);
    if (index_ + 1 >= arguments_.size()) return std::nullopt;
    return arguments_.at(++index_);
  }

  static bool Named(const QString& argument, const QString& name) {
    return argument == name || argument.startsWith(name + u'=');
  }

  // The record column an option names (--technician, --site, --resident); none for another.
  std::optional<QString> TakeOption(const QString& argument, unsigned allowed) {
    const auto notHere = [&] { return FormatText(Msg::CliOptionNotHere, {argument, word_}); };
    if (argument == u"--json") {
      command_.json = true;
    } else if (const std::optional<ValuedOption> valued = ValuedOptionNamed(argument)) {
      if ((allowed & valued->option) == 0) return notHere();
      const std::optional<QString> value = ValueOf(argument, valued->name.toString());
      if (!value) return FormatText(Msg::CommandLineMissingValue, {argument});
      *valued->value = valued->option == OptRecord ? value->simplified() : *value;
    } else if (argument == u"--stop-on-failure") {
      if ((allowed & OptSeries) == 0) return notHere();
      command_.stopOnFailure = true;
    } else if (argument == u"--verify") {
      if ((allowed & OptVerify) == 0) return notHere();
      command_.verify = true;
    } else if (argument == u"--dry-run") {
      if ((allowed & OptDryRun) == 0) return notHere();
      command_.dryRun = true;
    } else if (argument == u"--pendant") {
      if ((allowed & OptPendant) == 0) return notHere();
      command_.pendant = true;
    } else if (argument == u"--yes" || argument == u"-y") {
      if ((allowed & OptYes) == 0) return notHere();
      command_.acceptFewMeasurements = true;
      command_.confirmNewCode = true;
      command_.acceptAlarmChanges = true;
    } else if (argument == u"--accept-few-measurements") {
      if ((allowed & OptYes) == 0 || command_.operation == CliOperation::ChangeCode)
        return notHere();
      command_.acceptFewMeasurements = true;
    } else if (argument == u"--confirm-new-code") {
      // A series gives each pendant the code its plan has; there is no question to answer.
      if ((allowed & OptYes) == 0 || command_.operation == CliOperation::Series) return notHere();
      command_.confirmNewCode = true;
    } else {
      return FormatText(Msg::CommandLineUnknownOption, {argument});
    }
    return std::nullopt;
  }

  // A new code the OPU must never be given is refused before anything is sent.
  std::optional<QString> RefusedCode() const {
    if (command_.operation == CliOperation::ChangeCode) {
      if (auto refusal = NewRadioCodeRefusal(command_.newCode, NewCodeSender::CodeChange))
        return Text(*refusal) + u'\n';
    } else if (command_.operation == CliOperation::Write && !command_.newCode.isEmpty()) {
      // The write takes an empty code as "no change"; on the command line a code is four digits.
      if (auto refusal = NewRadioCodeRefusal(command_.newCode, NewCodeSender::CodeChange))
        return Text(*refusal) + u'\n';
    }
    return std::nullopt;
  }

  // series: the count and the code plan, each refused with what is wrong with it.
  std::optional<QString> RefusedSeries() {
    if (command_.operation != CliOperation::Series) return std::nullopt;
    if (count_.isEmpty()) return Text(Msg::CliSeriesCountMissing);
    bool isNumber = false;
    command_.count = count_.toInt(&isNumber);
    if (!isNumber || command_.count < 1 || command_.count > LargestSeries)
      return FormatText(Msg::CliSeriesCountInvalid, {count_, QString::number(LargestSeries)});
    if (!codes_.isEmpty() && !command_.listFile.isEmpty()) return Text(Msg::CliSeriesTwoPlans);
    if (!codes_.isEmpty()) {
      command_.sequence = ParseCodeSequence(codes_);
      if (!command_.sequence) return FormatText(Msg::CliSeriesCodesInvalid, {codes_});
    }
    return std::nullopt;
  }

  // The options that take a value, and where the value goes.
  struct ValuedOption {
    QStringView name;
    Option option;
    QString* value;
  };
  std::optional<ValuedOption> ValuedOptionNamed(const QString& argument) {
    const std::array<ValuedOption, 8> options{{
        {u"--out", OptOut, &command_.outFile},
        {u"--new-code", OptNewCode, &command_.newCode},
        {u"--count", OptSeries, &count_},
        {u"--codes", OptSeries, &codes_},
        {u"--list", OptSeries, &command_.listFile},
        {u"--technician", OptRecord, &command_.technician},
        {u"--site", OptRecord, &command_.site},
        {u"--resident", OptRecord, &command_.resident},
    }};
    for (const ValuedOption& option : options)
      if (Named(argument, option.name.toString())) return option;
    return std::nullopt;
  }

  const QStringList& arguments_;
  QString word_;
  CliCommand command_;
  qsizetype index_ = 0;
  QString count_;
  QString codes_;
};

}  // namespace

bool IsCliInvocation(const QStringList& arguments) {
  return OperationIndex(arguments).has_value();
}

CliParse ParseCliArguments(const QStringList& arguments) {
  const std::optional<qsizetype> index = OperationIndex(arguments);
  if (!index) return {{}, {}, Text(Msg::CliNoOperation)};
  return Parser(arguments, *index).Parse();
}
