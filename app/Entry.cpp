#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Main.h"
#include "app/ParentConsole.h"
#include "app/ProgramWindows.h"
#include "app/copy/HandedStart.h"
#include "app/copy/RunningCopy.h"
#include "app/copy/RunningCopyController.h"
#include "app/who/TechnicianController.h"
#include "cli/CliArguments.h"
#include "cli/CliRun.h"
#include "files/ImageFiles.h"
#include "link/opu/OpuLinkOptions.h"
#include "ui/UserDialogs.h"

#include <QDir>

#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

int deliver(const CommandLineAnswer& answer) {
  WriteToParentConsole();
  std::FILE* stream = answer.toStandardError ? stderr : stdout;
  std::fputs(answer.text.toLocal8Bit().constData(), stream);
  std::fflush(stream);
  return answer.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  const QStringList arguments = argumentsOf(argc, argv);
  KeepRunningPastFileSizeLimit();
  // An operation without a window runs under a core application object: decided here, before any
  // object that would need a display exists.
  if (IsCliInvocation(arguments)) return RunCli(argc, argv, arguments);
  // Answered before the application object exists, which would need a display.
  if (const auto answer = AnswerCommandLine(arguments)) return deliver(*answer);

  // One copy a user and desktop login: a later start hands its file to the running copy.
  auto place = ClaimRunningCopyPlace();
  if (!place && SendToRunningCopy(EncodeHandedStart({QDir::currentPath(), arguments}))) return 0;

  Application application(argc, argv);
  QtUserDialogs dialogs;
  application.SetDialogs(&dialogs);

  // The OPU options are the link's own; the folder, file and service passes do not see them.
  StartupEnvironment startup = SystemStartupEnvironment();
  startup.arguments = WithoutOpuLinkOptions(startup.arguments);
  const auto windows = CreateProgramWindows(MainEnvironment{
      &dialogs, startup, ParseOpuLinkOptions(QCoreApplication::arguments().mid(1))});
  windows->frmMain->show();
  RunningCopyController runningCopy(*windows->frmMain, dialogs);
  if (place) {
    place->Listen([&runningCopy](const QByteArray& message) {
      runningCopy.Take(DecodeHandedStart(message));
    });
  }
  // Once, while no technician's name is kept: every record line from the first names who worked.
  windows->frmMain->Technician().AskIfUnset();
  Application::exec();
  // Its notifier belongs to the application's event loop.
  place.reset();
  return 0;
}
