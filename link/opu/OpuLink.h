#pragma once

#include "link/opu/OpuDriver.h"
#include "link/opu/OpuLinkOptions.h"
#include "link/opu/WireTrace.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

// The USB connection to the OPU and its command protocol. Every command operation sends one
// framed command, waits for its one answer and returns a plain result code; none of them opens
// or closes the link, which is the caller's job. Every call on a closed link is harmless.
class OpuLink {
 public:
  static constexpr const char* Description = "Orvel OPU - Active USB Interface";
  static constexpr int BaudRate = 57600;
  static constexpr int AnswerTimeoutMs = 250;
  static constexpr int AnswerAreaSize = 50;
  static constexpr int MaxCommandLength = 95;
  // The oldest OPU firmware the program works with.
  static constexpr const char* RequiredVersion = "15-1";
  // Listening: the code every transmitter answers to; the poll's answer once one was heard (its
  // code, two digits and the byte asked for), or the OPU's report that listening failed.
  static constexpr const char* AnyTransmitter = "FFFF";
  static constexpr int ListeningAnswerLength = 8;
  static constexpr const char* ListeningFailed = "04";
  // What a listening answer of exactly the length tells.
  struct HeardTransmitter {
    QString radioCode;
    QString productType;  // two hexadecimal digits
  };

  // Result codes of the command operations.
  static constexpr int Success = 0;
  static constexpr int NoValidAnswer = 2;
  static constexpr int VersionTooOld = 7;
  static constexpr int NoData = 8;
  static constexpr int JobRefused = 9;
  static constexpr int BlockRefused = 10;

  // The serial port the options name, or the one found by description; traced as they say.
  explicit OpuLink(const OpuLinkOptions& options);
  // Every byte on the line is appended to the trace file, when one is named.
  explicit OpuLink(std::unique_ptr<OpuDriver> driver, const QString& traceFile = QString());
  ~OpuLink();
  OpuLink(const OpuLink&) = delete;
  OpuLink& operator=(const OpuLink&) = delete;

  // From the next Open on, the serial port at this path, or the one found by description when
  // the path is empty. Closes the link first.
  void UsePort(const QString& portPath);

  // The link itself.
  [[nodiscard]] int Open();  // 0 opened and configured, 1 failure
  void Close();
  [[nodiscard]] bool IsOpen() const { return handle != nullptr; }
  // Why the trace file named for the link is not being written; empty while it is, or without one.
  [[nodiscard]] QString TraceProblem() const { return trace_.Problem(); }
  // Why the last Open failed, in the system's words for the trace; may be empty.
  [[nodiscard]] QString LastOpenError() const { return lastOpenError_; }
  // Why the last Open failed, for the user.
  [[nodiscard]] OpenFailure LastOpenFailure() const { return lastOpenFailure_; }
  // True once the line has hung up since the last Open (a pulled cable): every command fails
  // at once from then on, and the operation must end.
  [[nodiscard]] bool LineLost() const;
  int WriteText(const char* text);
  int Read(char* destination, int maximum);
  [[nodiscard]] int QueueLength();
  bool PurgeAll();
  void SetTimeouts(int readMs, int writeMs);

  // The protocol.
  int Transact(const QString& command, QByteArray& answer, int timeoutMs, int expectedLength);
  int SendCommand(const QString& command);
  // 0 nothing usable, 1 a single byte, else the payload length of a valid frame; the answer
  // holds the byte or the payload.
  int ReceiveAnswer(QByteArray& answer, int timeoutMs, int expectedLength);
  [[nodiscard]] static bool VerifyFrame(const QByteArray& received);

  // The command operations.
  int StartListening(const QString& code, const QString& parameter);
  int PollListening(QString& answer);
  // Whether the poll's answer ends the listening: the OPU has heard a transmitter, though an
  // answer of another length tells nothing usable about it.
  [[nodiscard]] static bool ListeningAnswerComplete(const QString& answer) {
    return answer.size() >= ListeningAnswerLength;
  }
  [[nodiscard]] static std::optional<HeardTransmitter> ParseListeningAnswer(const QString& answer);
  int StopListening();
  int ReadRadioCode(QString& code);
  int ReadOpuVersion(QString& version);
  int CheckOpuVersion(const QString& required);
  // Whether a version the OPU told satisfies the required one, by the firmware's own rule.
  [[nodiscard]] static bool VersionIsNewEnough(const QString& version, const QString& required);
  int SendReadRequest(const QString& request);
  int SendWriteBlock(const QString& block);
  int StartJob(const QString& code);
  int PollReadStatus(QString& status);
  int PollWriteStatus(QString& status);
  int FetchReadBlock(QString& block);

 private:
  [[nodiscard]] int SingleByteCommand(const QString& command, char refusal, int refusalCode);
  [[nodiscard]] int StatusPoll(const QString& command, QString& status);

  OpuDriver* handle = nullptr;  // the opened driver; none while closed

  std::unique_ptr<OpuDriver> driver_;
  WireTrace trace_;
  QString lastOpenError_;
  OpenFailure lastOpenFailure_;
  bool lineLost_ = false;
};
