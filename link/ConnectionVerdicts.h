#pragma once

#include "image/Messages.h"
#include "link/opu/ConnectionProbes.h"

#include <QString>

// What the connection check makes of each probe: the step's mark and one sentence of explanation
// and remedy. The check's window and the command line say the same.

enum class CheckMark { NotRun, Running, Passed, Failed };

struct CheckVerdict {
  CheckMark mark = CheckMark::NotRun;
  QString text;
};

// The steps from the programming unit to the pendant, in the order they run.
enum CheckStep { StepUnit, StepPort, StepOpu, StepTransmitter, StepCount };
inline constexpr Msg::Id CheckStepTitles[StepCount] = {Msg::CheckStepAdapter, Msg::CheckStepPort,
                                                       Msg::CheckStepOpu, Msg::CheckStepPendant};

// The word a mark is shown with.
[[nodiscard]] Msg::Id CheckMarkText(CheckMark mark);

[[nodiscard]] CheckVerdict PortSearchVerdict(const PortSearch& search);
[[nodiscard]] CheckVerdict PortOpeningVerdict(const PortOpening& opening);
[[nodiscard]] CheckVerdict VersionVerdict(const VersionAnswer& answer);
// The pendant's step once the wait for its button of `waitSeconds` has ended with `answer`.
[[nodiscard]] CheckVerdict ButtonVerdict(const ButtonAnswer& answer, int waitSeconds);
