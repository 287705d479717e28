#pragma once

#include "image/VembaData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

// Faults the simulated OPU can be told to commit.
struct OpuSimFaults {
  QString silentCommands;  // command letters that get no answer at all, e.g. "sM"
  bool wrongChecksum = false;
  bool lowerCaseChecksum = false;
  int answerPieces = 1;       // every answer is sent in this many pieces...
  int pieceDelayMs = 0;       // ...with this pause before each piece after the first
  QByteArray garbageBefore;   // bytes sent ahead of every answer
  bool refuseJob = false;     // EOT to the job start
  bool refuseBlocks = false;  // ESC to every write block
  bool silentBlocks = false;  // no answer to a write block; the empty block is still taken
  QString jobOutcome = QStringLiteral("03");  // job status once the button is pressed
  QString productType = VembaData::ByteToHex(ThisProductType);
  bool listeningFails = false;  // "04" to the listening poll once the button is pressed
  QString version = QStringLiteral("15-1 V1.0.0");
  QString hangUpOn;            // command letters on whose arrival the line hangs up...
  int hangUpAfter = 0;         // ...once this many of them have been answered
  bool endlessBlocks = false;  // the read blocks come round again and again
  int readBlocksLost = 0;      // the last read blocks of a job never come
  QString portGoneAfter;       // after answering one of these letters the port's path is gone
  int unkeptAddress = -1;      // a written byte the transmitter keeps as it was (-1: none)
  int unkeptPendant = -1;      // ...only on this pendant of a series, counted from 0 (-1: every)
};

// What the OPU sends back to one command: pieces with the pause before each, then perhaps a
// hang-up.
struct OpuSimReply {
  std::vector<std::pair<int, QByteArray>> pieces;
  bool hangUp = false;
  bool portGone = false;  // the port's path disappears once the answer is out
};

// The programming unit and one transmitter in its reach: the transmitter's memory (its radio
// code sits at 0x20-0x21), its button, and the OPU's listening, requests, blocks and job. Every
// member is safe to call from any thread.
class OpuSimulator {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr int ManualButton = -1;

  OpuSimulator();

  // A plausible transmitter as it leaves the factory, radio code 1A2B: the program shows it
  // without a complaint.
  [[nodiscard]] static ImageBytes FactoryImage();
  // A transmitter whose configuration the program refuses: two fields out of range.
  [[nodiscard]] static ImageBytes OutOfRangeImage();

  void SetFaults(const OpuSimFaults& faults);
  [[nodiscard]] OpuSimFaults Faults() const;
  // The button is pressed this long after the OPU starts to listen or starts a job;
  // ManualButton leaves it to PressButton.
  void SetButtonDelay(int milliseconds);
  void PressButton();
  void SetMemory(const ImageBytes& memory);
  [[nodiscard]] ImageBytes Memory() const;
  void SetRadioCode(const QString& code);
  [[nodiscard]] QString RadioCode() const;
  // A series: these pendants wait in line. After each completed write the next one takes the
  // present one's place at the next listening, as when the technician picks up the next pendant.
  void QueuePendants(const std::vector<ImageBytes>& pendants);
  // A new pendant as it leaves the factory, with its own code: 7001 for the first, 7002, ...
  [[nodiscard]] static ImageBytes NewPendant(int number);
  // Every pendant presented so far in the order they came, the present one last.
  [[nodiscard]] std::vector<ImageBytes> Pendants() const;
  // Every command text received, in order.
  [[nodiscard]] QStringList Commands() const;
  void ClearCommands();

  // The OPU's answer to one command text (the frame's text, without STX, checksum and ETX).
  [[nodiscard]] OpuSimReply Answer(const QByteArray& command);

 private:
  struct Job {
    bool active = false;
    bool finished = false;
  };

  [[nodiscard]] QByteArray AnswerBytes(const QByteArray& command);
  [[nodiscard]] QByteArray Frame(const QByteArray& payload) const;
  [[nodiscard]] OpuSimReply Shape(const QByteArray& answer) const;
  [[nodiscard]] QByteArray ListeningAnswer();
  [[nodiscard]] QByteArray JobStatus();
  [[nodiscard]] QByteArray NextReadBlock();
  [[nodiscard]] QByteArray StartJob(const QByteArray& code);
  [[nodiscard]] QByteArray TakeRequest(const QByteArray& request);
  [[nodiscard]] QByteArray TakeBlock(const QByteArray& block);
  [[nodiscard]] bool ButtonPressed() const;
  [[nodiscard]] QString RadioCodeLocked() const;
  void WaitForButton();
  void FinishJob();
  void PresentNextPendant();

  mutable std::mutex mutex_;
  OpuSimFaults faults_;
  ImageBytes memory_{};
  int buttonDelayMs_ = 0;
  bool buttonPressed_ = false;
  std::optional<Clock::time_point> pressAt_;
  bool listening_ = false;
  Job job_;
  std::vector<std::pair<int, int>> readRequests_;  // count, start
  std::vector<QByteArray> writeBlocks_;
  std::vector<QByteArray> readBlocks_;
  QStringList commands_;
  int hangUpCandidates_ = 0;  // commands that could have hung the line up so far
  std::vector<ImageBytes> waitingPendants_;
  std::vector<ImageBytes> donePendants_;  // the pendants before the present one
  bool written_ = false;                  // a write completed on the present pendant
};
