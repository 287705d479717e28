#pragma once

#include "link/opu/OpuDriver.h"

#include <QByteArray>
#include <QStringList>

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <utility>
#include <vector>

// An OPU in the test's own process: it answers each command from a script, records every byte
// and call, and fails the calls it is told to. Its clock is virtual by default, so a silent
// answer costs a test no real time.
class FakeOpuDriver final : public OpuDriver {
 public:
  enum class Call {
    OpenEx,
    SetBaudRate,
    SetDataCharacteristics,
    SetFlowControl,
    ClearDtr,
    Purge,
    SetTimeouts,
    GetQueueStatus,
    Read,
    Write,
    Close,
  };
  struct Piece {
    std::chrono::milliseconds delay;  // after the command, or after the piece before
    QByteArray bytes;
  };
  using Reply = std::vector<Piece>;  // empty: silence

  enum class Time { Virtual, Real };
  explicit FakeOpuDriver(Time time = Time::Virtual);

  // Replies. A key of one letter answers every command starting with it; a longer key answers
  // exactly that command text. A reply given once is used before the standing one.
  void Answer(const QByteArray& key, Reply reply);
  void AnswerOnce(const QByteArray& key, Reply reply);
  // Answers the commands no scripted reply matches.
  void AnswerWith(std::function<Reply(const QByteArray& command)> responder);
  [[nodiscard]] static Reply Bytes(const QByteArray& bytes);
  [[nodiscard]] static Reply Frame(const QByteArray& payload);
  [[nodiscard]] static Reply Ack() { return Bytes(QByteArray(1, 0x06)); }
  // The bytes in this many pieces with the pause before each piece after the first.
  [[nodiscard]] static Reply Split(const QByteArray& bytes, int pieces,
                                   std::chrono::milliseconds pause);

  // Every later call of this kind returns the status.
  void FailCall(Call call, int status = 4);
  // An OPU that is not attached cannot be opened.
  bool attached = true;
  // A line that hung up says so until it is closed.
  bool hungUp = false;

  // What happened.
  QByteArray written;
  QStringList commands;                     // texts of the frames written
  std::vector<std::pair<Call, int>> calls;  // with the argument where one tells (purge mask)
  QString openedDescription;
  [[nodiscard]] int CountOf(Call call) const;

  [[nodiscard]] int OpenEx(const QString& description, int openMode) override;
  [[nodiscard]] int SetBaudRate(int baudRate) override;
  [[nodiscard]] int SetDataCharacteristics(int wordLength, int stopBits, int parity) override;
  [[nodiscard]] int SetFlowControl(int flowControl, char xon, char xoff) override;
  [[nodiscard]] int ClearDtr() override;
  [[nodiscard]] int Purge(int mask) override;
  [[nodiscard]] int SetTimeouts(int readMs, int writeMs) override;
  [[nodiscard]] int GetQueueStatus(std::uint32_t& received) override;
  [[nodiscard]] int Read(char* buffer, std::uint32_t count, std::uint32_t& delivered) override;
  [[nodiscard]] int Write(const char* bytes, std::uint32_t count, std::uint32_t& written) override;
  int Close() override;
  void WaitForBytes(Clock::time_point deadline) override;
  void Pause(Clock::time_point until) override;
  [[nodiscard]] Clock::time_point Now() const override;
  [[nodiscard]] bool HungUp() const override { return hungUp; }

 private:
  [[nodiscard]] int Record(Call call, int argument = 0);
  void Schedule(const QByteArray& command);
  [[nodiscard]] Reply ScriptedReply(const QByteArray& command);
  void DeliverDue();

  Time time_;
  Clock::time_point virtualNow_;
  std::map<QByteArray, Reply> standing_;
  std::map<QByteArray, std::deque<Reply>> once_;
  std::function<Reply(const QByteArray&)> responder_;
  std::map<Call, int> failures_;
  std::deque<std::pair<Clock::time_point, QByteArray>> scheduled_;
  QByteArray arrived_;
};
