#include "support/FakeOpuDriver.h"

#include "link/opu/OpuFrame.h"

#include <algorithm>
#include <thread>

FakeOpuDriver::FakeOpuDriver(Time time) : time_(time), virtualNow_(Clock::now()) {}

void FakeOpuDriver::Answer(const QByteArray& key, Reply reply) {
  standing_[key] = std::move(reply);
}

void FakeOpuDriver::AnswerOnce(const QByteArray& key, Reply reply) {
  once_[key].push_back(std::move(reply));
}

void FakeOpuDriver::AnswerWith(std::function<Reply(const QByteArray&)> responder) {
  responder_ = std::move(responder);
}

FakeOpuDriver::Reply FakeOpuDriver::Bytes(const QByteArray& bytes) {
  return {{std::chrono::milliseconds(0), bytes}};
}

FakeOpuDriver::Reply FakeOpuDriver::Frame(const QByteArray& payload) {
  return Bytes(FramedText(payload));
}

FakeOpuDriver::Reply FakeOpuDriver::Split(const QByteArray& bytes, int pieces,
                                          std::chrono::milliseconds pause) {
  Reply reply;
  const qsizetype size = (bytes.size() + pieces - 1) / pieces;
  for (qsizetype start = 0; start < bytes.size(); start += size)
    reply.push_back({start == 0 ? std::chrono::milliseconds(0) : pause, bytes.mid(start, size)});
  return reply;
}

void FakeOpuDriver::FailCall(Call call, int status) {
  failures_[call] = status;
}

int FakeOpuDriver::CountOf(Call call) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                        [call](const auto& made) { return made.first == call; }));
}

int FakeOpuDriver::Record(Call call, int argument) {
  calls.emplace_back(call, argument);
  const auto failure = failures_.find(call);
  return failure == failures_.end() ? 0 : failure->second;
}

int FakeOpuDriver::OpenEx(const QString& description, int openMode) {
  const int status = Record(Call::OpenEx, openMode);
  if (status != 0) return status;
  if (!attached || openMode != OpenByDescription) return 2;  // device not found
  openedDescription = description;
  return 0;
}

int FakeOpuDriver::SetBaudRate(int baudRate) {
  return Record(Call::SetBaudRate, baudRate);
}

int FakeOpuDriver::SetDataCharacteristics(int wordLength, int stopBits, int parity) {
  return Record(Call::SetDataCharacteristics, wordLength * 100 + stopBits * 10 + parity);
}

int FakeOpuDriver::SetFlowControl(int flowControl, char /*xon*/, char /*xoff*/) {
  return Record(Call::SetFlowControl, flowControl);
}

int FakeOpuDriver::ClearDtr() {
  return Record(Call::ClearDtr);
}

int FakeOpuDriver::Purge(int mask) {
  const int status = Record(Call::Purge, mask);
  if (status == 0 && (mask & PurgeReceive) != 0) arrived_.clear();
  return status;
}

int FakeOpuDriver::SetTimeouts(int readMs, int writeMs) {
  return Record(Call::SetTimeouts, readMs * 1000 + writeMs);
}

int FakeOpuDriver::GetQueueStatus(std::uint32_t& received) {
  const int status = Record(Call::GetQueueStatus);
  if (status != 0) return status;
  DeliverDue();
  received = static_cast<std::uint32_t>(arrived_.size());
  return 0;
}

int FakeOpuDriver::Read(char* buffer, std::uint32_t count, std::uint32_t& delivered) {
  const int status = Record(Call::Read, static_cast<int>(count));
  if (status != 0) return status;
  DeliverDue();
  delivered = std::min(count, static_cast<std::uint32_t>(arrived_.size()));
  std::copy_n(arrived_.constData(), delivered, buffer);
  arrived_.remove(0, delivered);
  return 0;
}

int FakeOpuDriver::Write(const char* bytes, std::uint32_t count, std::uint32_t& writtenCount) {
  const int status = Record(Call::Write, static_cast<int>(count));
  if (status != 0) return status;
  const QByteArray frame(bytes, count);
  written += frame;
  writtenCount = count;
  if (frame.size() >= 4 && frame.front() == STX && frame.back() == ETX)
    Schedule(frame.mid(1, frame.size() - 4));
  return 0;
}

int FakeOpuDriver::Close() {
  return Record(Call::Close);
}

void FakeOpuDriver::Schedule(const QByteArray& command) {
  commands.append(QString::fromLatin1(command));
  const Reply reply = ScriptedReply(command);
  Clock::time_point at = Now();
  for (const Piece& piece : reply) {
    at += piece.delay;
    scheduled_.emplace_back(at, piece.bytes);
  }
}

FakeOpuDriver::Reply FakeOpuDriver::ScriptedReply(const QByteArray& command) {
  for (const QByteArray& key : {command, command.left(1)}) {
    auto once = once_.find(key);
    if (once != once_.end() && !once->second.empty()) {
      Reply reply = once->second.front();
      once->second.pop_front();
      return reply;
    }
    if (const auto standing = standing_.find(key); standing != standing_.end())
      return standing->second;
  }
  return responder_ ? responder_(command) : Reply{};
}

void FakeOpuDriver::DeliverDue() {
  while (!scheduled_.empty() && scheduled_.front().first <= Now()) {
    arrived_ += scheduled_.front().second;
    scheduled_.pop_front();
  }
}

void FakeOpuDriver::WaitForBytes(Clock::time_point deadline) {
  DeliverDue();
  if (!arrived_.isEmpty()) return;
  const Clock::time_point until =
      scheduled_.empty() ? deadline : std::min(deadline, scheduled_.front().first);
  Pause(until);
  DeliverDue();
}

void FakeOpuDriver::Pause(Clock::time_point until) {
  if (time_ == Time::Virtual)
    virtualNow_ = std::max(virtualNow_, until);
  else
    std::this_thread::sleep_until(until);
}

OpuDriver::Clock::time_point FakeOpuDriver::Now() const {
  return time_ == Time::Virtual ? virtualNow_ : Clock::now();
}
