#pragma once

#include "image/ImageCodec.h"
#include "image/VembaData.h"
#include "support/SampleImage.h"
#include "support/SimulatedOpu.h"

#include <QString>
#include <QStringList>
#include <QTest>

#include <functional>

// What the transmitter operations' tests share: the simulated OPU's transmitter, what the front
// end shows before an operation, and the commands of an operation's conversation.

inline constexpr int TestPollIntervalMs = 20;

// The commands that identify the transmitter, and a read's requests.
inline const QStringList IdentifyingCommands = {"v", "aFFFF2E", "A", "s0"};
inline const QStringList ReadRequests = {"m", "m0622", "m0828", "m0830", "m0338"};
// A write's job without a code block, the blocks cut by blockPrefixes.
inline const QStringList WriteJob = {"n", "n0327", "n022C", "n0830", "n013A", "i1A2B", "N", "n"};

// A transmitter with a code of its own and every parameter in range.
inline ImageBytes transmitterMemory() {
  return SampleImageBytes(
      {{RadioCodeAddress, 0x1A}, {RadioCodeAddress + 1, 0x2B}, {0x25, 0x23}, {0x39, 0x2C}});
}

// What the front end shows before an operation: a configuration of the same product with other
// values.
inline ImageBytes shownConfiguration() {
  ImageBytes bytes = transmitterMemory();
  bytes[RadioCodeAddress] = 0;
  bytes[RadioCodeAddress + 1] = 0;
  bytes[0x27] = 5;
  bytes[0x2C] = 12;
  return bytes;
}

// Write blocks cut to count and start, so that a conversation reads as the blocks sent.
inline QStringList blockPrefixes(const QStringList& commands) {
  QStringList result;
  for (const QString& command : commands)
    result << (command.startsWith('n') ? command.left(5) : command);
  return result;
}

// Changes the faults the OPU has now.
inline void ChangeFaults(SimulatedOpu& opu, const std::function<void(OpuSimFaults&)>& change) {
  OpuSimFaults faults = opu.Faults();
  change(faults);
  opu.SetFaults(faults);
}

// Runs an operation whose job the OPU ends with this status; while a message is up the poll
// timer still runs with nothing left to ask.
// `boxes` are a test's message boxes (ScriptedDialogs, or a front end that keeps its messages).
template <typename Boxes>
void RunWithJobOutcome(SimulatedOpu& opu, Boxes& boxes, const char* outcome,
                       const std::function<void()>& operation) {
  ChangeFaults(opu, [outcome](OpuSimFaults& faults) { faults.jobOutcome = outcome; });
  boxes.clear();
  opu.ClearCommands();
  boxes.onMessage = [](const auto&) { QTest::qWait(5 * TestPollIntervalMs); };
  operation();
}
