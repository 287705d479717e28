#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A later start of the program, handed to the running copy: its working folder and its
// arguments (without the program's name).
struct HandedStart {
  QString workingFolder;
  QStringList arguments;
};

[[nodiscard]] QByteArray EncodeHandedStart(const HandedStart& start);
// An empty start for bytes that are no handed start.
[[nodiscard]] HandedStart DecodeHandedStart(const QByteArray& bytes);

// What the running copy does with a handed start: the file it opens as a dropped one (absolute),
// and the arguments that would have set up a new copy (the service switch, a folder, the OPU's
// port or trace), which the running copy cannot take over.
struct HandedStartPlan {
  QString file;
  QStringList settingsNotTaken;
};

[[nodiscard]] HandedStartPlan PlanHandedStart(const HandedStart& start);
