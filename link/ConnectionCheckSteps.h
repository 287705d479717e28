#pragma once

#include "link/ConnectionVerdicts.h"
#include "link/opu/ConnectionProbes.h"

#include <array>
#include <chrono>
#include <functional>

// Each step's verdict, in the order the steps run.
using CheckVerdicts = std::array<CheckVerdict, StepCount>;

// The connection check's steps from the programming unit to the pendant, run against the probes
// and returned as verdicts without a window, so that the check's window and the command line run
// the same steps and say the same. Nothing is written, and the link is closed at the end of every
// path.
class ConnectionCheckSteps {
 public:
  static constexpr int ButtonWaitSeconds = 30;

  // The link closes with the steps at the latest (ConnectionProbes).
  explicit ConnectionCheckSteps(const OpuLinkOptions& options, SerialPortPlaces places = {});

  // Steps 1 to 3, one after another; a step after a failed one is not run and says so, and the
  // pendant's step says whether it can follow. `shown` hears each step as it starts (Running) and
  // as it ends, so that a window shows the check as it goes.
  [[nodiscard]] CheckVerdicts RunLinkSteps(
      const std::function<void(CheckStep, const CheckVerdict&)>& shown = {});

  // Step 4, in parts, so that the front end's events go on while the pendant's button is awaited:
  // StartPendantStep, then PollPendantStep until it is done, or EndPendantStep to give up. Both
  // set the verdicts they decide in `verdicts`.
  // Opens the link and listens for the button for ButtonWaitSeconds; false when it cannot. A unit
  // that went away since steps 1 to 3 fails the port's step again, the later ones not reached.
  [[nodiscard]] bool StartPendantStep(CheckVerdicts& verdicts);
  // True, with the pendant's verdict and the link closed, once the button was heard, the OPU
  // answered otherwise or the time is up; until then the pendant's step counts the seconds left.
  [[nodiscard]] bool PollPendantStep(CheckVerdicts& verdicts);
  // Stops listening and closes the link.
  void EndPendantStep();

  [[nodiscard]] bool LinkOpen() const { return probes_.LinkOpen(); }

 private:
  ConnectionProbes probes_;
  std::chrono::steady_clock::time_point buttonDeadline_;
};
