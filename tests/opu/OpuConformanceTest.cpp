#include "link/opu/OpuLink.h"
#include "support/FakeOpuDriver.h"
#include "support/SimulatedOpu.h"
#include "tools/opu-sim/OpuSimulator.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The same OPU conversations over every way of reaching the simulated OPU: in-process behind
// the scripted driver (virtual time), and through the serial driver on a pseudo-terminal.

namespace {

class OpuRig {
 public:
  virtual ~OpuRig() = default;
  [[nodiscard]] virtual OpuSimulator& Opu() = 0;
  [[nodiscard]] virtual OpuLink& Link() = 0;
};

class InProcessRig final : public OpuRig {
 public:
  InProcessRig() {
    auto driver = std::make_unique<FakeOpuDriver>();
    FakeOpuDriver* fake = driver.get();
    fake->AnswerWith([this, fake](const QByteArray& command) {
      const OpuSimReply reply = opu_.Answer(command);
      // A hung-up line fails every later call that touches it.
      if (reply.hangUp) {
        fake->hungUp = true;
        for (const auto call : {FakeOpuDriver::Call::GetQueueStatus, FakeOpuDriver::Call::Read,
                                FakeOpuDriver::Call::Write})
          fake->FailCall(call);
      }
      FakeOpuDriver::Reply pieces;
      for (const auto& [pause, bytes] : reply.pieces)
        pieces.push_back({std::chrono::milliseconds(pause), bytes});
      return pieces;
    });
    link_ = std::make_unique<OpuLink>(std::move(driver));
  }
  OpuSimulator& Opu() override { return opu_; }
  OpuLink& Link() override { return *link_; }

 private:
  OpuSimulator opu_;
  std::unique_ptr<OpuLink> link_;
};

class PseudoTerminalRig final : public OpuRig {
 public:
  PseudoTerminalRig() : link_(opu_.MakeLink()) { EXPECT_TRUE(opu_.IsServing()); }
  OpuSimulator& Opu() override { return opu_.Simulator(); }
  OpuLink& Link() override { return *link_; }

 private:
  SimulatedOpu opu_;
  std::unique_ptr<OpuLink> link_;
};

using RigFactory = std::function<std::unique_ptr<OpuRig>()>;

class OpuConformance : public ::testing::TestWithParam<RigFactory> {
 protected:
  void SetUp() override {
    rig = GetParam()();
    opu().SetButtonDelay(0);
    ASSERT_EQ(link().Open(), 0);
  }
  OpuSimulator& opu() { return rig->Opu(); }
  OpuLink& link() { return rig->Link(); }
  void Fault(const std::function<void(OpuSimFaults&)>& change) {
    OpuSimFaults faults = opu().Faults();
    change(faults);
    opu().SetFaults(faults);
  }

  std::unique_ptr<OpuRig> rig;
};

QString HexOf(const ImageBytes& memory, int start, int count) {
  QString text;
  for (int i = 0; i < count; ++i) text += VembaData::ByteToHex(memory[start + i]);
  return text;
}

}  // namespace

TEST_P(OpuConformance, Identification) {
  QString answer;
  EXPECT_EQ(link().CheckOpuVersion("15-1"), 0);
  EXPECT_EQ(link().StartListening("FFFF", "2E"), 0);
  EXPECT_EQ(link().PollListening(answer), 0);
  EXPECT_EQ(answer, "1A2B0007");
  EXPECT_EQ(link().StopListening(), 0);
  QString code;
  EXPECT_EQ(link().ReadRadioCode(code), 0);
  EXPECT_EQ(code, "1A2B");
  EXPECT_EQ(opu().Commands(), QStringList({"v", "aFFFF2E", "A", "s0", "c1"}));
}

TEST_P(OpuConformance, ReadFetchesTheRequestedBlocks) {
  const ImageBytes memory = opu().Memory();
  EXPECT_EQ(link().SendReadRequest(""), 0);
  for (const char* request : {"0622", "0828", "0830", "0338"})
    EXPECT_EQ(link().SendReadRequest(request), 0);
  EXPECT_EQ(link().StartJob("1A2B"), 0);
  QString status;
  EXPECT_EQ(link().PollReadStatus(status), 0);
  EXPECT_EQ(status, "03");
  QStringList blocks;
  QString block;
  while (link().FetchReadBlock(block) == 0) blocks << block;
  EXPECT_EQ(
      blocks,
      QStringList({"00000622" + HexOf(memory, 0x22, 6), "00000828" + HexOf(memory, 0x28, 8),
                   "00000830" + HexOf(memory, 0x30, 8), "00000338" + HexOf(memory, 0x38, 3)}));
  EXPECT_EQ(link().SendReadRequest(""), 0);
}

TEST_P(OpuConformance, WriteChangesTheTransmitterOnlyWhenTheJobSucceeds) {
  for (const QString& outcome :
       {QStringLiteral("04"), QStringLiteral("05"), QStringLiteral("03")}) {
    SCOPED_TRACE(outcome.toStdString());
    Fault([&](OpuSimFaults& faults) { faults.jobOutcome = outcome; });
    const ImageBytes before = opu().Memory();
    EXPECT_EQ(link().SendWriteBlock(""), 0);
    EXPECT_EQ(link().SendWriteBlock("0127A5"), 0);
    EXPECT_EQ(link().SendWriteBlock("022012C4"), 0);
    EXPECT_EQ(link().StartJob("1A2B"), 0);
    QString status;
    EXPECT_EQ(link().PollWriteStatus(status), 0);
    EXPECT_EQ(status, outcome);
    EXPECT_EQ(link().SendWriteBlock(""), 0);
    if (outcome != "03") {
      EXPECT_EQ(opu().Memory(), before);
    }
  }
  EXPECT_EQ(opu().Memory()[0x27], 0xA5);
  EXPECT_EQ(opu().RadioCode(), "12C4");
}

TEST_P(OpuConformance, ASeriesPresentsTheNextPendantAfterACompletedWrite) {
  opu().QueuePendants({OpuSimulator::NewPendant(1), OpuSimulator::NewPendant(2)});
  const auto heard = [this] {
    QString answer;
    EXPECT_EQ(link().StartListening("FFFF", "2E"), 0);
    EXPECT_EQ(link().PollListening(answer), 0);
    EXPECT_EQ(link().StopListening(), 0);
    return answer.left(4);
  };
  const auto write = [this](const QString& code, const QString& outcome) {
    Fault([&](OpuSimFaults& faults) { faults.jobOutcome = outcome; });
    EXPECT_EQ(link().SendWriteBlock(""), 0);
    EXPECT_EQ(link().SendWriteBlock("0127A5"), 0);
    EXPECT_EQ(link().StartJob(code), 0);
    QString status;
    EXPECT_EQ(link().PollWriteStatus(status), 0);
    EXPECT_EQ(link().SendWriteBlock(""), 0);
  };
  EXPECT_EQ(heard(), "1A2B");
  write("1A2B", "04");  // a failed write keeps the pendant in the OPU's reach
  EXPECT_EQ(heard(), "1A2B");
  write("1A2B", "03");
  EXPECT_EQ(heard(), "7001");
  write("7001", "03");
  EXPECT_EQ(heard(), "7002");
  write("7002", "03");
  EXPECT_EQ(heard(), "7002");  // the line is empty: the last pendant stays
  const std::vector<ImageBytes> pendants = opu().Pendants();
  ASSERT_EQ(pendants.size(), 3U);
  for (const ImageBytes& memory : pendants) EXPECT_EQ(memory[0x27], 0xA5);
}

TEST_P(OpuConformance, RefusalsHaveCodesOfTheirOwn) {
  EXPECT_EQ(link().StartJob("FFFF"), 9);  // no transmitter with that code
  Fault([](OpuSimFaults& faults) { faults.refuseJob = true; });
  EXPECT_EQ(link().StartJob("1A2B"), 9);
  Fault([](OpuSimFaults& faults) { faults.refuseBlocks = true; });
  EXPECT_EQ(link().SendWriteBlock("0127A5"), 10);
  EXPECT_EQ(link().SendWriteBlock(""), 0);
}

TEST_P(OpuConformance, NothingHappensUntilTheButtonIsPressed) {
  opu().SetButtonDelay(OpuSimulator::ManualButton);
  QString answer;
  EXPECT_EQ(link().StartListening("FFFF", "2E"), 0);
  EXPECT_EQ(link().PollListening(answer), 0);
  EXPECT_EQ(answer, "00");
  opu().PressButton();
  EXPECT_EQ(link().PollListening(answer), 0);
  EXPECT_EQ(answer, "1A2B0007");
  EXPECT_EQ(link().StopListening(), 0);

  EXPECT_EQ(link().StartJob("1A2B"), 0);
  EXPECT_EQ(link().PollReadStatus(answer), 0);
  EXPECT_EQ(answer, "02");
  opu().PressButton();
  EXPECT_EQ(link().PollReadStatus(answer), 0);
  EXPECT_EQ(answer, "03");
}

TEST_P(OpuConformance, SilenceGivesEachCommandItsFailure) {
  Fault([](OpuSimFaults& faults) { faults.silentCommands = "sMA"; });
  QString answer = "kept";
  EXPECT_EQ(link().StopListening(), 2);
  EXPECT_EQ(link().PollReadStatus(answer), 8);
  EXPECT_EQ(answer, "kept");
  EXPECT_EQ(link().PollListening(answer), 0);
  EXPECT_EQ(answer, "");
}

TEST_P(OpuConformance, DamagedFramesAreRefused) {
  QString text = "kept";
  Fault([](OpuSimFaults& faults) { faults.lowerCaseChecksum = true; });  // "1A2B0007" sums AD
  EXPECT_EQ(link().ReadRadioCode(text), 2);
  EXPECT_EQ(text, "kept");
  Fault([](OpuSimFaults& faults) {
    faults.lowerCaseChecksum = false;
    faults.wrongChecksum = true;
  });
  EXPECT_EQ(link().ReadOpuVersion(text), 2);
  EXPECT_EQ(text, "");
  Fault([](OpuSimFaults& faults) {
    faults.wrongChecksum = false;
    faults.garbageBefore = "?";
  });
  EXPECT_EQ(link().ReadOpuVersion(text), 2);
  EXPECT_EQ(link().StopListening(), 2);
}

TEST_P(OpuConformance, AnswersInPieces) {
  Fault([](OpuSimFaults& faults) {
    faults.answerPieces = 3;
    faults.pieceDelayMs = 120;
  });
  QString text;
  EXPECT_EQ(link().ReadOpuVersion(text), 0);
  EXPECT_EQ(text, "15-1 V1.0.0");
  EXPECT_EQ(link().ReadRadioCode(text), 0);
  EXPECT_EQ(text, "1A2B");
  Fault([](OpuSimFaults& faults) { faults.pieceDelayMs = 400; });
  EXPECT_EQ(link().ReadOpuVersion(text), 2);
}

TEST_P(OpuConformance, OldFirmwareAndOtherTransmitters) {
  Fault([](OpuSimFaults& faults) {
    faults.version = "14-1 V2.0.0";
    faults.productType = "05";
  });
  EXPECT_EQ(link().CheckOpuVersion("15-1"), 7);
  QString answer;
  EXPECT_EQ(link().StartListening("FFFF", "2E"), 0);
  EXPECT_EQ(link().PollListening(answer), 0);
  EXPECT_EQ(answer, "1A2B0005");
}

TEST_P(OpuConformance, AHangUpIsSilenceToEveryOperation) {
  Fault([](OpuSimFaults& faults) { faults.hangUpOn = "M"; });
  EXPECT_EQ(link().StartJob("1A2B"), 0);
  QString text = "kept";
  EXPECT_EQ(link().PollReadStatus(text), 8);
  // The operation learns that the line is gone, and it stays gone after the close.
  EXPECT_TRUE(link().LineLost());
  EXPECT_EQ(link().CheckOpuVersion("15-1"), 2);
  EXPECT_EQ(link().StartListening("FFFF", "2E"), 2);
  EXPECT_EQ(link().PollListening(text), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(link().StopListening(), 2);
  EXPECT_EQ(link().ReadRadioCode(text), 2);
  EXPECT_EQ(link().ReadOpuVersion(text), 2);
  EXPECT_EQ(link().SendReadRequest(""), 2);
  EXPECT_EQ(link().SendWriteBlock(""), 2);
  EXPECT_EQ(link().StartJob("1A2B"), 2);
  EXPECT_EQ(link().PollWriteStatus(text), 8);
  text = "kept";
  EXPECT_EQ(link().FetchReadBlock(text), 8);
  EXPECT_EQ(text, "kept");
  link().Close();
  EXPECT_FALSE(link().IsOpen());
  EXPECT_TRUE(link().LineLost());
  link().Close();
  EXPECT_EQ(opu().Commands(), QStringList({"i1A2B", "M"}));
}

INSTANTIATE_TEST_SUITE_P(
    Rigs, OpuConformance,
    ::testing::Values(RigFactory([] { return std::make_unique<InProcessRig>(); }),
                      RigFactory([] { return std::make_unique<PseudoTerminalRig>(); })),
    [](const ::testing::TestParamInfo<RigFactory>& info) {
      return info.index == 0 ? std::string("InProcess") : std::string("PseudoTerminal");
    });
