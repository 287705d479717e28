#include "cli/CliRun.h"

#include "cli/CancelSignal.h"
#include "cli/CliArguments.h"
#include "cli/CliCheck.h"
#include "cli/CliOperations.h"
#include "cli/CliOutput.h"
#include "cli/CliSeries.h"
#include "cli/CliShow.h"

#include <QCoreApplication>

int RunCli(int& argc, char** argv, const QStringList& arguments) {
  const CliParse parse = ParseCliArguments(arguments);
  if (!parse.helpText.isEmpty()) {
    PrintResult(parse.helpText);
    return ExitSuccess;
  }
  if (!parse.command) {
    PrintNotice(parse.refusal);
    return ExitUsage;
  }
  const CliCommand& command = *parse.command;
  QCoreApplication application(argc, argv);
  CancelSignal cancel;
  switch (command.operation) {
    case CliOperation::Show:
      return DeliverReport(RunShow(command), command.json);
    case CliOperation::Check:
      return DeliverReport(RunCheck(command, cancel), command.json);
    case CliOperation::Series:
      return DeliverReport(RunSeriesAtBench(command, cancel), command.json);
    case CliOperation::Read:
    case CliOperation::Write:
    case CliOperation::Verify:
    case CliOperation::ChangeCode:
      break;
  }
  return DeliverReport(RunTransmitterOperation(command, cancel), command.json);
}
