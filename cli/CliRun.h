#pragma once

#include <QStringList>

// The command line without a window: one operation a run, under a core application object only,
// so it needs no display and no Qt platform plugin. Called by the entry when IsCliInvocation
// holds, before any other application object exists; the exit code.
[[nodiscard]] int RunCli(int& argc, char** argv, const QStringList& arguments);
