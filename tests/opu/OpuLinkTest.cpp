#include "link/opu/OpuLink.h"

#include "link/opu/OpuFrame.h"
#include "link/opu/OpuLinkOptions.h"
#include "support/FakeOpuDriver.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>

using namespace std::chrono_literals;
using Call = FakeOpuDriver::Call;

namespace {

QByteArray Hex(const char* text) {
  return QByteArray::fromHex(text);
}

class OpuLinkTest : public ::testing::Test {
 protected:
  OpuLinkTest() {
    auto driver = std::make_unique<FakeOpuDriver>();
    fake = driver.get();
    link = std::make_unique<OpuLink>(std::move(driver));
  }

  void OpenLink() {
    ASSERT_EQ(link->Open(), 0);
    fake->calls.clear();
  }

  // Virtual milliseconds that pass while the call runs.
  template <typename Operation>
  long long ElapsedMs(Operation operation) {
    const auto start = fake->Now();
    operation();
    return std::chrono::duration_cast<std::chrono::milliseconds>(fake->Now() - start).count();
  }

  FakeOpuDriver* fake = nullptr;
  std::unique_ptr<OpuLink> link;
};

}  // namespace

TEST_F(OpuLinkTest, FramesCarryTheTextAndItsUpperCaseChecksum) {
  OpenLink();
  EXPECT_EQ(link->SendCommand("s0"), 6);
  EXPECT_EQ(link->SendCommand("v"), 5);
  EXPECT_EQ(link->SendCommand("aFFFF2E"), 11);
  EXPECT_EQ(link->SendCommand("x"), 5);
  EXPECT_EQ(fake->written, Hex("027330413303") + Hex("0276373603") + Hex("0261464646463245463003") +
                               Hex("0278373803"));
}

TEST_F(OpuLinkTest, EachCommandGoesOutAfterPurgingBothDirections) {
  OpenLink();
  ASSERT_EQ(link->SendCommand("M"), 5);
  const std::vector<std::pair<Call, int>> expected = {{Call::Purge, 3}, {Call::Write, 5}};
  EXPECT_EQ(fake->calls, expected);
}

TEST_F(OpuLinkTest, CommandTextsThatCannotBeFramedSendNothing) {
  OpenLink();
  EXPECT_EQ(link->SendCommand(""), 0);
  EXPECT_EQ(link->SendCommand(QString(96, u'n')), 0);
  EXPECT_TRUE(fake->written.isEmpty());
  // The longest text that fits: STX, 95 characters, two digits, ETX and the terminator.
  EXPECT_EQ(link->SendCommand(QString(95, u'n')), 99);
}

TEST_F(OpuLinkTest, OpenSetsUpTheLineByDescription) {
  EXPECT_EQ(link->Open(), 0);
  EXPECT_TRUE(link->IsOpen());
  EXPECT_EQ(fake->openedDescription, "Orvel OPU - Active USB Interface");
  const std::vector<std::pair<Call, int>> expected = {{Call::OpenEx, 2},
                                                      {Call::SetBaudRate, 57600},
                                                      {Call::SetDataCharacteristics, 820},
                                                      {Call::SetFlowControl, 0},
                                                      {Call::ClearDtr, 0}};
  EXPECT_EQ(fake->calls, expected);
}

TEST_F(OpuLinkTest, OpenFailures) {
  fake->attached = false;
  EXPECT_EQ(link->Open(), 1);
  EXPECT_FALSE(link->IsOpen());
  EXPECT_EQ(fake->CountOf(Call::SetBaudRate), 0);

  // A refused line setting fails the open but leaves the port open, and every setting is tried.
  fake->attached = true;
  fake->FailCall(Call::SetBaudRate);
  EXPECT_EQ(link->Open(), 1);
  EXPECT_TRUE(link->IsOpen());
  EXPECT_EQ(fake->CountOf(Call::ClearDtr), 1);
  EXPECT_FALSE(link->LastOpenError().isEmpty());
  link->Close();
  EXPECT_FALSE(link->IsOpen());
}

TEST_F(OpuLinkTest, OpeningAnOpenLinkClosesItFirstAndCloseDrainsOnlyTheReceiveSide) {
  OpenLink();
  EXPECT_EQ(link->Open(), 0);
  ASSERT_GE(fake->calls.size(), 2u);
  EXPECT_EQ(fake->calls[0].first, Call::Close);
  EXPECT_EQ(fake->calls[1].first, Call::OpenEx);
  fake->calls.clear();
  link->Close();
  link->Close();
  const std::vector<std::pair<Call, int>> expected = {{Call::Purge, 1}, {Call::Close, 0}};
  EXPECT_EQ(fake->calls, expected);
}

TEST_F(OpuLinkTest, EverythingOnAClosedLinkIsHarmless) {
  fake->Answer("s", FakeOpuDriver::Ack());
  char buffer[8] = {};
  EXPECT_EQ(link->WriteText("abc"), 0);
  EXPECT_EQ(link->Read(buffer, 8), 0);
  EXPECT_EQ(link->QueueLength(), 0);
  EXPECT_FALSE(link->PurgeAll());
  link->SetTimeouts(10, 100);
  link->Close();
  EXPECT_EQ(link->StopListening(), 2);
  QString text = "kept";
  EXPECT_EQ(link->PollReadStatus(text), 8);
  EXPECT_EQ(link->PollListening(text), 0);
  EXPECT_EQ(text, "");
  EXPECT_TRUE(fake->calls.empty());
}

TEST_F(OpuLinkTest, ReadAsksOnlyForQueuedBytes) {
  OpenLink();
  fake->Answer("v", FakeOpuDriver::Frame("15-1 V1.0.0"));
  ASSERT_EQ(link->SendCommand("v"), 5);
  char buffer[32] = {};
  fake->calls.clear();
  EXPECT_EQ(link->Read(buffer, 0), 0);
  EXPECT_EQ(fake->CountOf(Call::Read), 0);
  EXPECT_EQ(link->Read(buffer, 4), 4);
  EXPECT_EQ(QByteArray(buffer, 4),
            "\x02"
            "15-");
  EXPECT_EQ(link->Read(buffer, 32), 11);
  EXPECT_EQ(fake->calls.back(), std::make_pair(Call::Read, 11));
}

TEST_F(OpuLinkTest, AnAnswerIsHandedOnAsSoonAsItIsComplete) {
  OpenLink();
  fake->Answer("s", {{40ms, QByteArray(1, ACK)}});
  fake->Answer("v", FakeOpuDriver::Split(FramedText("15-1 V1.0.0"), 3, 200ms));
  EXPECT_EQ(ElapsedMs([&] { EXPECT_EQ(link->StopListening(), 0); }), 40);
  QString version;
  // Each piece moves the deadline on: 200 ms apart is in time, twice over.
  EXPECT_EQ(ElapsedMs([&] { EXPECT_EQ(link->ReadOpuVersion(version), 0); }), 400);
  EXPECT_EQ(version, "15-1 V1.0.0");
  EXPECT_EQ(fake->CountOf(Call::SetTimeouts), 2);
  EXPECT_EQ(fake->calls.back().first, Call::Read);
}

class LateAnswerTest : public OpuLinkTest, public ::testing::WithParamInterface<int> {};

// Each case on a link of its own: a late answer would otherwise arrive in the next case.
TEST_P(LateAnswerTest, LateOrIncompleteAnswersAreSilence) {
  const FakeOpuDriver::Reply replies[] = {
      {{260ms, FramedText("15-1 V1.0.0")}},
      // The second piece comes 260 ms after the first: the wait ends 250 ms after the first.
      FakeOpuDriver::Split(FramedText("15-1 V1.0.0"), 2, 260ms),
      FakeOpuDriver::Bytes(FramedText("15-1 V1.0.0").chopped(1)),
  };
  OpenLink();
  fake->Answer("v", replies[GetParam()]);
  QString version = "kept";
  EXPECT_EQ(ElapsedMs([&] { EXPECT_EQ(link->ReadOpuVersion(version), 2); }), 250);
  EXPECT_EQ(version, "");
}

INSTANTIATE_TEST_SUITE_P(Answers, LateAnswerTest, ::testing::Values(0, 1, 2));

TEST_F(OpuLinkTest, AFramedAnswerToASingleByteCommandWaitsItsDeadlineOut) {
  OpenLink();
  fake->Answer("s", FakeOpuDriver::Frame(QByteArray(1, ACK)));
  EXPECT_EQ(ElapsedMs([&] { EXPECT_EQ(link->StopListening(), 0); }), 250);
  fake->Answer("s", FakeOpuDriver::Frame("06"));
  EXPECT_EQ(link->StopListening(), 2);
}

TEST_F(OpuLinkTest, AFullAnswerAreaEndsTheWait) {
  OpenLink();
  // An OPU that babbles without end: pieces of 7 bytes every 100 ms for 20 seconds.
  FakeOpuDriver::Reply babble;
  for (int i = 0; i < 200; ++i) babble.push_back({100ms, QByteArray("\x02noise.")});
  fake->Answer("v", babble);
  QByteArray answer;
  long long elapsed = ElapsedMs([&] {
    link->SendCommand("v");
    EXPECT_EQ(link->ReceiveAnswer(answer, 250, 1), 0);
  });
  EXPECT_EQ(elapsed, 800);  // the eighth piece fills the 50 bytes
  EXPECT_TRUE(answer.isEmpty());
}

TEST_F(OpuLinkTest, AFrameLongerThanTheAreaIsRefused) {
  OpenLink();
  fake->Answer("x", FakeOpuDriver::Frame(QByteArray(47, '0')));
  QString block = "kept";
  EXPECT_EQ(link->FetchReadBlock(block), 8);
  EXPECT_EQ(block, "kept");
  EXPECT_EQ(link->QueueLength(), 1);  // the ETX is left where it was
}

TEST_F(OpuLinkTest, ReceiveAnswerReportsPayloadLength) {
  OpenLink();
  QByteArray answer;
  fake->Answer("x", FakeOpuDriver::Frame(QByteArray(46, '7')));
  EXPECT_EQ(link->Transact("x", answer, 250, 2), 46);
  EXPECT_EQ(answer, QByteArray(46, '7'));
  fake->Answer("x", FakeOpuDriver::Bytes(Hex("02303003")));
  EXPECT_EQ(link->Transact("x", answer, 250, 2), 0);
  EXPECT_TRUE(answer.isEmpty());
  fake->Answer("x", FakeOpuDriver::Bytes(QByteArray(1, 0x15)));
  EXPECT_EQ(link->Transact("x", answer, 250, 2), 1);
  EXPECT_EQ(answer, QByteArray(1, 0x15));
}

TEST_F(OpuLinkTest, ANulByteSpoilsTheFrame) {
  OpenLink();
  // A valid frame followed by more bytes, and a frame whose sum counts a NUL as nothing.
  for (const char* bytes : {"0230343634030078", "023000333003"}) {
    fake->Answer("A", FakeOpuDriver::Bytes(Hex(bytes)));
    QString answer = "kept";
    EXPECT_EQ(link->PollListening(answer), 0);
    EXPECT_EQ(answer, "") << bytes;
  }
}

TEST(OpuFrameCheck, VerifyFrameWantsUpperCaseDigitsAndTheRightSum) {
  EXPECT_TRUE(OpuLink::VerifyFrame(Hex("0230343634") + ETX));
  EXPECT_TRUE(OpuLink::VerifyFrame(FramedText("1A2B0007")));  // checksum "AD"
  EXPECT_FALSE(
      OpuLink::VerifyFrame(QByteArray("\x02"
                                      "1A2B0007ad\x03")));
  EXPECT_FALSE(
      OpuLink::VerifyFrame(QByteArray("\x02"
                                      "1A2B0007AE\x03")));
  EXPECT_FALSE(OpuLink::VerifyFrame(QByteArray("x1A2B0007AD\x03")));
  EXPECT_FALSE(
      OpuLink::VerifyFrame(QByteArray("\x02"
                                      "1A2B0007AD")));
  EXPECT_FALSE(
      OpuLink::VerifyFrame(QByteArray("\x02"
                                      "0\x03")));
  EXPECT_TRUE(
      OpuLink::VerifyFrame(QByteArray("\x02"
                                      "00\x03")));
}

TEST(OpuLinkRealClockTest, PiecesAndOneOffAnswersOnTheRealClock) {
  auto driver = std::make_unique<FakeOpuDriver>(FakeOpuDriver::Time::Real);
  FakeOpuDriver& fake = *driver;
  OpuLink link(std::move(driver));
  ASSERT_EQ(link.Open(), 0);
  fake.AnswerOnce("M", FakeOpuDriver::Split(FramedText("02"), 2, 30ms));
  fake.Answer("M", FakeOpuDriver::Frame("03"));
  QString status;
  EXPECT_EQ(link.PollReadStatus(status), 0);
  EXPECT_EQ(status, "02");
  EXPECT_EQ(link.PollReadStatus(status), 0);
  EXPECT_EQ(status, "03");
}

TEST(OpuLinkRealClockTest, AReadThatHandsOverNothingIsRetriedAfterAReadTimeOut) {
  auto driver = std::make_unique<FakeOpuDriver>(FakeOpuDriver::Time::Real);
  FakeOpuDriver& fake = *driver;
  OpuLink link(std::move(driver));
  ASSERT_EQ(link.Open(), 0);
  fake.Answer("v", FakeOpuDriver::Frame("15-1 V1.0.0"));
  fake.FailCall(Call::Read);
  QByteArray answer;
  EXPECT_EQ(link.Transact("v", answer, 100, 11), 0);
  // One read each 10 ms read time-out while the bytes stay queued, not one per turn of a loop.
  EXPECT_LE(fake.CountOf(Call::Read), 11);
}
