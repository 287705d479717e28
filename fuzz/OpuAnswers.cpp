// The OPU's answers through OpuLink's receive path and every command that reads them, and the
// read blocks stored into an image. A driver in this process answers each command with the
// fuzzer's next bytes, in pieces, late or with failing reads; its clock moves only while the
// link waits, so a link that spins instead of waiting never ends (a fuzzer time-out).

#include "fuzz/FuzzInput.h"
#include "image/VembaData.h"
#include "link/opu/OpuDriver.h"
#include "link/opu/OpuFrame.h"
#include "link/opu/OpuLink.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <utility>

namespace {

using Clock = OpuDriver::Clock;
using std::chrono::milliseconds;

class FuzzOpuDriver final : public OpuDriver {
 public:
  explicit FuzzOpuDriver(FuzzInput& input) : input_(input) {}

  // Which of the calls that open and set up the line fail, one bit each.
  void FailOpening(std::uint8_t calls) { failingOpenCalls_ = calls; }

  int OpenEx(const QString&, int) override { return Failing(0) ? 2 : 0; }
  int SetBaudRate(int) override { return Failing(1) ? 4 : 0; }
  int SetDataCharacteristics(int, int, int) override { return Failing(2) ? 4 : 0; }
  int SetFlowControl(int, char, char) override { return Failing(3) ? 4 : 0; }
  int ClearDtr() override { return Failing(4) ? 4 : 0; }
  int Purge(int mask) override {
    if ((mask & PurgeReceive) != 0) arrived_.clear();
    return 0;
  }
  int SetTimeouts(int, int) override { return 0; }
  int GetQueueStatus(std::uint32_t& received) override {
    DeliverDue();
    received = static_cast<std::uint32_t>(arrived_.size());
    return 0;
  }
  int Read(char* buffer, std::uint32_t count, std::uint32_t& delivered) override {
    delivered = 0;
    if (failingReads_ > 0) {
      --failingReads_;
      return 4;
    }
    DeliverDue();
    delivered = std::min(count, static_cast<std::uint32_t>(arrived_.size()));
    std::copy_n(arrived_.constData(), delivered, buffer);
    arrived_.remove(0, delivered);
    return 0;
  }
  int Write(const char*, std::uint32_t count, std::uint32_t& written) override {
    written = count;
    ScheduleReply();
    return 0;
  }
  int Close() override { return 0; }
  void WaitForBytes(Clock::time_point deadline) override {
    DeliverDue();
    if (!arrived_.isEmpty()) return;
    Pause(scheduled_.empty() ? deadline : std::min(deadline, scheduled_.front().first));
    DeliverDue();
  }
  void Pause(Clock::time_point until) override { now_ = std::max(now_, until); }
  Clock::time_point Now() const override { return now_; }

 private:
  [[nodiscard]] bool Failing(int call) const { return (failingOpenCalls_ >> call & 1) != 0; }

  // The answer to a command: up to three pieces, each after a delay, and reads that fail.
  void ScheduleReply() {
    const std::uint8_t shape = input_.Byte();
    failingReads_ = shape >> 6;
    Clock::time_point at = now_;
    for (int piece = 0; piece <= (shape & 3) % 3; ++piece) {
      at += milliseconds(input_.Byte() * 2);
      scheduled_.emplace_back(at, input_.Piece(60));
    }
  }

  void DeliverDue() {
    while (!scheduled_.empty() && scheduled_.front().first <= now_) {
      arrived_ += scheduled_.front().second;
      scheduled_.pop_front();
    }
  }

  FuzzInput& input_;
  Clock::time_point now_{};
  std::deque<std::pair<Clock::time_point, QByteArray>> scheduled_;
  QByteArray arrived_;
  int failingReads_ = 0;
  std::uint8_t failingOpenCalls_ = 0;
};

// Every command ends: its deadline plus one extension per piece that came in time.
constexpr milliseconds LongestCommand{OpuLink::AnswerTimeoutMs * (1 + OpuLink::AnswerAreaSize)};

// A read block may change only the cells it names, and only below address 0x100.
void CheckStoredBlock(const QString& block) {
  ParameterImage image{};
  VembaData::ClearImage(image, 0x5A, OriginNone);
  (void)VembaData::StoreImageRecord(image, block, OriginRead);
  const int count = block.size() >= 6 ? VembaData::HexPairValue(block.at(4), block.at(5)) : 0;
  const int start = block.size() >= 8 ? VembaData::HexPairValue(block.at(6), block.at(7)) : 0;
  for (int address = 0; address < ImageSize; ++address) {
    const bool named = address >= start && address < start + count;
    FUZZ_CHECK(named || (image[address].value == 0x5A && image[address].origin == OriginNone),
               block);
  }
}

void RunCommand(OpuLink& link, FuzzInput& input) {
  const std::uint8_t choice = input.Byte();
  // Command parameters from the window: a text of any length, which the link must frame or
  // refuse.
  const QString parameter =
      (choice & 0x80) != 0 ? QString::fromLatin1(input.Piece(100)) : QStringLiteral("1A2B");
  QString text;
  switch (choice % 12) {
    case 0:
      (void)link.StartListening(parameter, QStringLiteral("2E"));
      break;
    case 1:
      (void)link.PollListening(text);
      FUZZ_CHECK(text.size() <= OpuLink::AnswerAreaSize, text);
      break;
    case 2:
      (void)link.StopListening();
      break;
    case 3:
      if (link.ReadRadioCode(text) == OpuLink::Success) FUZZ_CHECK(text.size() == 4, text);
      break;
    case 4:
      if (link.ReadOpuVersion(text) == OpuLink::Success) FUZZ_CHECK(text.size() == 11, text);
      break;
    case 5:
      (void)link.CheckOpuVersion((choice & 0x80) != 0 ? parameter : QStringLiteral("15-1"));
      break;
    case 6:
      (void)link.SendReadRequest(parameter);
      break;
    case 7:
      (void)link.SendWriteBlock(parameter);
      break;
    case 8:
      (void)link.StartJob(parameter);
      break;
    case 9:
      if (link.PollReadStatus(text) == OpuLink::Success) FUZZ_CHECK(text.size() == 2, text);
      break;
    case 10:
      if (link.PollWriteStatus(text) == OpuLink::Success) FUZZ_CHECK(text.size() == 2, text);
      break;
    default:
      if (link.FetchReadBlock(text) == OpuLink::Success) {
        FUZZ_CHECK(text.size() >= 10 && text.size() <= 24, text);
        CheckStoredBlock(text);
      }
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  auto owned = std::make_unique<FuzzOpuDriver>(input);
  FuzzOpuDriver& driver = *owned;
  OpuLink link(std::move(owned));
  driver.FailOpening(input.Byte() & 0x1F);
  if (link.Open() != 0) {
    // Callers close a link that did not open; a command on it until then is harmless.
    RunCommand(link, input);
    link.Close();
    return 0;
  }
  while (!input.AtEnd()) {
    const Clock::time_point before = driver.Now();
    RunCommand(link, input);
    FUZZ_CHECK(driver.Now() - before <= LongestCommand, QString());
  }
  link.Close();
  return 0;
}
