// Reading, writing and re-coding a transmitter through a front end without windows: fake view,
// fake waiting prompt and a plain poll timer, the serial link talking to a simulated OPU on a
// pseudo-terminal. Message boxes are scripted; the "user" presses the transmitter's button or
// aborts the prompt while it waits.

#include "link/TransmitterOperations.h"

#include "image/Texts.h"
#include "link/opu/OpuLinkOptions.h"
#include "support/FakeFrontEnd.h"
#include "support/OperationSamples.h"
#include "support/QtPrinters.h"
#include "support/SimulatedOpu.h"

#include <QTemporaryDir>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <grp.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TransmitterOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(opu.IsServing());
    opu.SetMemory(transmitterMemory());
    start(opu.LinkOptions());
  }

  void start(const OpuLinkOptions& options) {
    front = std::make_unique<FakeFrontEnd>(options, TestPollIntervalMs);
    ParameterImage shown{};
    VembaData::LoadImageBytes(shown, shownConfiguration(), OriginLoad);
    ASSERT_EQ(front->view.ShowImage(shown, OriginLoad), ImageOk);
    f().view.clear();
    opu.ClearCommands();
  }

  FakeFrontEnd& f() { return *front; }
  void read() { f().Read(); }
  void write() { f().Write(); }
  void setField(Field field, const QString& text) { f().view.fields.texts[field] = text; }
  QString field(Field field) { return f().view.fields.text(field); }
  void changeCodeTo(const QString& code) { (void)f().operations.ChangeCode(code); }

  // Presses the transmitter's button at every other instruction, and Abort once the OPU has
  // been polled at this one.
  void abortAtInstruction(Msg::Id instruction) {
    opu.SetButtonDelay(OpuSimulator::ManualButton);
    f().prompt.whileWaiting = [this, instruction](FakeWaitingPrompt& prompt) {
      if (prompt.actionText != Text(instruction)) {
        opu.PressButton();
      } else if (QStringList({"A", "M", "N"}).contains(opu.Commands().last())) {
        prompt.Abort();
      }
    };
  }

  // Every operation ends with the link closed, the poll timer stopped and the closing command
  // last on the line.
  void expectWoundUp(const QString& closingCommand) {
    EXPECT_FALSE(f().link.IsOpen());
    EXPECT_FALSE(f().pollTimer.Running());
    EXPECT_FALSE(f().prompt.Waiting());
    ASSERT_FALSE(opu.Commands().isEmpty());
    EXPECT_EQ(opu.Commands().last(), closingCommand);
  }

  void runWithJobOutcome(const char* outcome, const std::function<void()>& operation) {
    RunWithJobOutcome(opu, f().view, outcome, operation);
  }
  void setFaults(const std::function<void(OpuSimFaults&)>& change) { ChangeFaults(opu, change); }

  SimulatedOpu opu;
  QTemporaryDir scratch;
  std::unique_ptr<FakeFrontEnd> front;
};

// --- Read, write and code change without the window -----------------------------------------

TEST_F(TransmitterOperationsTest, AReadAWriteAndACodeChangeNeedNoWindow) {
  read();
  EXPECT_THAT(f().view.texts(), IsEmpty());
  EXPECT_EQ(f().view.status, Text(Msg::ReadFinished));
  EXPECT_EQ(opu.Conversation(), IdentifyingCommands + ReadRequests +
                                    QStringList({"i1A2B", "M", "x", "x", "x", "x", "x", "m"}));
  expectWoundUp("m");
  EXPECT_EQ(field(Field::edtRadioCodeOld), "1A2B");
  EXPECT_EQ(field(Field::edtBatteryTestInterval), "24");
  EXPECT_EQ(f().ImageSource, SourceTransmitter);
  EXPECT_EQ(f().titleUpdates, 1);
  EXPECT_EQ(f().prompt.title, Text(Msg::ReadTitle));
  EXPECT_EQ(f().prompt.actionText, Text(Msg::PressButtonToRead));

  setField(Field::edtBatteryTestInterval, "36");
  opu.ClearCommands();
  write();
  EXPECT_THAT(f().view.texts(), IsEmpty());
  EXPECT_EQ(f().view.status, Text(Msg::ConfigurationUpdated));
  EXPECT_EQ(blockPrefixes(opu.Conversation()), IdentifyingCommands + WriteJob);
  expectWoundUp("n");
  ImageBytes expected = transmitterMemory();
  expected[0x2C] = 36;
  EXPECT_EQ(opu.Memory(), expected);
  EXPECT_EQ(f().prompt.actionText, Text(Msg::PressButtonToWrite));

  opu.ClearCommands();
  EXPECT_EQ(f().operations.ChangeCode("c0de"), ChangeDone);
  EXPECT_EQ(opu.Conversation(),
            IdentifyingCommands + QStringList({"n", "n0220C0DE", "i1A2B", "N", "n"}));
  expectWoundUp("n");
  EXPECT_EQ(opu.RadioCode(), "C0DE");
  EXPECT_EQ(f().prompt.actionText, Text(Msg::PressButtonToChangeCode));

  // Each operation told the observer how it ended.
  const auto& outcomes = f().observer.outcomes;
  ASSERT_EQ(outcomes.size(), 3u);
  const OperationKind kinds[] = {OperationKind::Read, OperationKind::Write,
                                 OperationKind::ChangeCode};
  const char* codesAfter[] = {"1A2B", "1A2B", "C0DE"};
  for (std::size_t index = 0; index < outcomes.size(); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(outcomes[index].kind, kinds[index]);
    EXPECT_EQ(outcomes[index].codeBefore, "1A2B");
    EXPECT_EQ(outcomes[index].codeAfter, codesAfter[index]);
    EXPECT_EQ(outcomes[index].resultNumber, 0);
    EXPECT_FALSE(outcomes[index].finishedAt.isNull());
  }
  EXPECT_EQ(outcomes[0].image, transmitterMemory());
  // A write keeps the bytes it sent, the transmitter's code in its place.
  ASSERT_TRUE(outcomes[1].image.has_value());
  for (const int address : {RadioCodeAddress, RadioCodeAddress + 1, 0x2C})
    EXPECT_EQ((*outcomes[1].image)[address], expected[address]) << address;
  EXPECT_EQ(outcomes[2].image, std::nullopt);
}

// The check after writing reads the transmitter back and names the field it did not keep; a
// failed read and one with nothing to say are kept with their messages.
TEST_F(TransmitterOperationsTest, TheOutcomesNameEveryFailureAndTheCheckAfterWriting) {
  runWithJobOutcome("04", [this] { read(); });
  EXPECT_THAT(f().view.texts(), ElementsAre(Text(Msg::ReadFailed)));
  ASSERT_EQ(f().observer.outcomes.size(), 1u);
  EXPECT_EQ(f().observer.outcomes[0].resultNumber, Msg::ReadFailed);
  EXPECT_EQ(f().observer.outcomes[0].resultText, Text(Msg::ReadFailed));
  EXPECT_EQ(f().observer.outcomes[0].image, std::nullopt);

  opu.SetFaults({});
  read();
  f().observer.outcomes.clear();
  f().operations.SetVerifyAfterWrite(true);
  setFaults([](OpuSimFaults& faults) { faults.unkeptAddress = 0x2C; });
  setField(Field::edtBatteryTestInterval, "36");
  f().view.clear();
  opu.ClearCommands();
  write();
  const QString line =
      FormatText(Msg::VerifyDifferenceLine, {Text(Msg::CaptionBatteryTestInterval), "36", "24"});
  EXPECT_THAT(f().view.texts(),
              ElementsAre(FormatText(Msg::VerifyFoundDifferences, {line + "\n"})));
  EXPECT_EQ(f().view.status, Text(Msg::WrittenButCheckFailed));
  EXPECT_EQ(f().prompt.actionText, Text(Msg::PressButtonToVerify));
  const auto& outcomes = f().observer.outcomes;
  ASSERT_EQ(outcomes.size(), 2u);
  EXPECT_EQ(outcomes[0].kind, OperationKind::Write);
  EXPECT_EQ(outcomes[0].resultNumber, Msg::VerifyFoundDifferences);
  EXPECT_EQ(outcomes[1].kind, OperationKind::Verify);
  EXPECT_EQ(outcomes[1].resultNumber, Msg::VerifyFoundDifferences);
  ASSERT_TRUE(outcomes[1].image.has_value());
  EXPECT_EQ((*outcomes[1].image)[0x2C], 24);

  // A transmitter that keeps everything is verified.
  opu.SetFaults({});
  f().view.clear();
  write();
  EXPECT_THAT(f().view.texts(), IsEmpty());
  EXPECT_EQ(f().view.status, Text(Msg::ConfigurationUpdatedAndVerified));
  EXPECT_EQ(outcomes.back().kind, OperationKind::Verify);
  EXPECT_EQ(outcomes.back().resultNumber, 0);
}

// --- Moved from the window's tests: messages, status texts and the conversation ----------

TEST_F(TransmitterOperationsTest, AnOpuThatNeverEndsItsBlocksCannotHoldTheRead) {
  setFaults([](OpuSimFaults& faults) { faults.endlessBlocks = true; });
  read();
  EXPECT_EQ(opu.Commands().count(QStringLiteral("x")), ImageSize);
  EXPECT_EQ(f().view.status, Text(Msg::ReadFinished));
  EXPECT_EQ(field(Field::edtTotalTxCounter), "44");
  expectWoundUp("m");
}

TEST_F(TransmitterOperationsTest, AbortWhileWaitingForTheReadEndsQuietly) {
  abortAtInstruction(Msg::PressButtonToRead);
  read();
  EXPECT_THAT(f().view.texts(), IsEmpty());
  EXPECT_EQ(f().view.status, Text(Msg::ReadCancelled));
  EXPECT_EQ(opu.Conversation(),
            IdentifyingCommands + ReadRequests + QStringList({"i1A2B", "M", "m", "m"}));
  expectWoundUp("m");
  EXPECT_EQ(f().ImageSource, SourceDefault);
}

TEST_F(TransmitterOperationsTest, ARefusedJobStartIsReportedAndReleasesTheOpu) {
  setFaults([](OpuSimFaults& faults) { faults.refuseJob = true; });
  read();
  EXPECT_THAT(f().view.texts(), ElementsAre(Text(Msg::OpuGetJobFailed)));
  EXPECT_EQ(opu.Conversation(), IdentifyingCommands + ReadRequests + QStringList({"i1A2B", "m"}));
  expectWoundUp("m");

  f().view.clear();
  opu.ClearCommands();
  write();
  EXPECT_THAT(f().view.texts(), ElementsAre(Text(Msg::OpuGetJobFailed)));
  EXPECT_EQ(
      blockPrefixes(opu.Conversation()),
      IdentifyingCommands + QStringList({"n", "n0327", "n022C", "n0830", "n013A", "i1A2B", "n"}));
  expectWoundUp("n");
  EXPECT_EQ(opu.Memory(), transmitterMemory());
}

TEST_F(TransmitterOperationsTest, AnOpuReportingFailureWhileListeningEndsTheReadAsAborted) {
  setFaults([](OpuSimFaults& faults) { faults.listeningFails = true; });
  read();
  EXPECT_THAT(f().view.texts(), IsEmpty());
  EXPECT_EQ(f().view.status, Text(Msg::CodeReadCancelled));
  EXPECT_EQ(opu.Conversation(), IdentifyingCommands);
  expectWoundUp("s0");
  EXPECT_TRUE(f().operations.CurrentRadioCode().isEmpty());
  EXPECT_TRUE(field(Field::edtRadioCodeOld).isEmpty());
}

TEST_F(TransmitterOperationsTest, AbortWhileListeningEndsTheReadAsAborted) {
  abortAtInstruction(Msg::PressButtonForCode);
  read();
  EXPECT_THAT(f().view.texts(), IsEmpty());
  EXPECT_EQ(f().view.status, Text(Msg::CodeReadCancelled));
  EXPECT_EQ(opu.Conversation(), QStringList({"v", "aFFFF2E", "A", "s0"}));
  expectWoundUp("s0");
}

TEST_F(TransmitterOperationsTest, AnotherProductTypeIsNotAcceptedAndTheOpuListensAgain) {
  setFaults([](OpuSimFaults& faults) { faults.productType = "05"; });
  opu.SetButtonDelay(OpuSimulator::ManualButton);
  // The second transmitter to call in is one of ours.
  f().prompt.whileWaiting = [this](FakeWaitingPrompt&) {
    if (opu.Commands().count("aFFFF2E") == 2) {
      setFaults([](OpuSimFaults& faults) { faults.productType = "07"; });
    }
    opu.PressButton();
  };
  read();
  EXPECT_THAT(f().view.texts(), IsEmpty());
  EXPECT_EQ(f().view.status, Text(Msg::ReadFinished));
  EXPECT_EQ(opu.Conversation().mid(0, 6), QStringList({"v", "aFFFF2E", "A", "aFFFF2E", "A", "s0"}));
  expectWoundUp("m");
}

TEST_F(TransmitterOperationsTest, AnOpuThatNeverListensIsGivenUpAfterTenAttempts) {
  read();
  ASSERT_EQ(f().operations.CurrentRadioCode(), "1A2B");
  f().view.clear();
  opu.ClearCommands();
  setFaults([](OpuSimFaults& faults) { faults.silentCommands = "a"; });
  read();
  EXPECT_THAT(f().view.texts(), ElementsAre(Text(Msg::OpuNotReachable)));
  EXPECT_TRUE(f().view.status.isEmpty());
  EXPECT_EQ(opu.Commands(), QStringList({"v"}) + QStringList(10, "aFFFF2E") + QStringList({"s0"}));
  expectWoundUp("s0");
  EXPECT_TRUE(f().operations.CurrentRadioCode().isEmpty());
  EXPECT_FALSE(f().prompt.Waiting());
}

// A failed identification forgets the transmitter identified before, so that nothing goes on
// with its code, and the operation adds no message of its own.
TEST_F(TransmitterOperationsTest, AnOldFirmwareEndsEveryOperationAfterItsOwnMessage) {
  setField(Field::edtRadioCodeNew, "BEEF");
  const std::function<void()> operations[] = {[this] { read(); }, [this] { write(); },
                                              [this] { changeCodeTo("C0DE"); }};
  for (const auto& operation : operations) {
    opu.SetFaults({});
    read();
    ASSERT_EQ(f().operations.CurrentRadioCode(), "1A2B");
    setFaults([](OpuSimFaults& faults) { faults.version = "14-1 V1.0.0"; });
    f().view.clear();
    opu.ClearCommands();
    operation();
    EXPECT_THAT(f().view.texts(), ElementsAre(Text(Msg::OpuFirmwareTooOld)));
    EXPECT_NE(f().view.status, Text(Msg::CodeReadCancelled));
    EXPECT_EQ(opu.Commands(), QStringList({"v"}));
    EXPECT_TRUE(f().operations.CurrentRadioCode().isEmpty());
    EXPECT_FALSE(f().link.IsOpen());
  }
  EXPECT_EQ(opu.Memory(), transmitterMemory());
}

TEST_F(TransmitterOperationsTest, AMissingOpuEndsEveryOperationAfterItsOwnMessage) {
  start(OpuLinkOptions{scratch.filePath("no-such-port"), {}});
  const std::function<void()> operations[] = {[this] { read(); }, [this] { write(); },
                                              [this] { changeCodeTo("C0DE"); }};
  for (const auto& operation : operations) {
    f().view.clear();
    operation();
    EXPECT_THAT(f().view.texts(), ElementsAre(Text(Msg::OpuNotReachable)));
    EXPECT_TRUE(f().operations.CurrentRadioCode().isEmpty());
    EXPECT_NE(f().view.status, Text(Msg::CodeReadCancelled));
    EXPECT_FALSE(f().link.IsOpen());
  }
  EXPECT_THAT(opu.Commands(), IsEmpty());
}

// A port the user may not open, or one another program holds, is named with its cause and the
// connection check's remedy in the box, the status line and the record line, and the box points
// to the check; a normal user meets both, so the test takes a normal user's rights for the open.
TEST_F(TransmitterOperationsTest, APortThatCannotBeOpenedIsNamedWithTheRemedy) {
  // The pseudo-terminal itself: an ordinary user may not even look into the test's folders.
  const QString port = opu.Server().PortPath();
  start(OpuLinkOptions{port, {}});
  struct stat status {};
  ASSERT_EQ(::stat(port.toLocal8Bit().constData(), &status), 0);
  const QString group = QString::fromLocal8Bit(::getgrgid(status.st_gid)->gr_name);
  const auto expectCause = [this](const QString& cause) {
    EXPECT_THAT(f().view.texts(), ElementsAre(FormatText(Msg::PortUnusable, {cause})));
    EXPECT_TRUE(f().view.texts().value(0).contains(QString::fromUtf8("Hilfe › Verbindung prüfen")));
    EXPECT_EQ(f().view.status, cause);
    ASSERT_FALSE(f().observer.outcomes.empty());
    EXPECT_EQ(f().observer.outcomes.back().resultNumber, Msg::PortUnusable);
    EXPECT_TRUE(f().observer.outcomes.back().resultText.startsWith(cause));
  };
  auto otherProgram = opu.MakeLink();
  ASSERT_EQ(otherProgram->Open(), 0);
  read();
  expectCause(FormatText(Msg::PortBusy, {port}) + ' ' + Text(Msg::CheckAgainAfterwards));

  otherProgram.reset();
  ASSERT_EQ(::chmod(port.toLocal8Bit().constData(), 0), 0);
  f().view.clear();
  const bool privileged = ::geteuid() == 0;
  if (privileged) ::setfsuid(65534);
  write();
  if (privileged) ::setfsuid(0);
  // Nobody may use the port, members of its group neither: joining the group would not help.
  expectCause(FormatText(Msg::CheckInstallDeviceRule, {port, group, group}));
  EXPECT_THAT(opu.Commands(), IsEmpty());
}

TEST_F(TransmitterOperationsTest, AFailedWriteTellsWhy) {
  struct Case {
    const char* outcome;
    QStringList messages;
    QString status;
  };
  const Case cases[] = {{"04", {Text(Msg::WriteFailed)}, {}},
                        {"05", {Text(Msg::WaitTimedOut)}, {}}};
  for (const Case& failure : cases) {
    SCOPED_TRACE(failure.outcome);
    runWithJobOutcome(failure.outcome, [this] { write(); });
    EXPECT_EQ(f().view.texts(), failure.messages);
    EXPECT_EQ(f().view.status, failure.status);
    EXPECT_EQ(blockPrefixes(opu.Conversation()), IdentifyingCommands + WriteJob);
    expectWoundUp("n");
  }
  EXPECT_EQ(opu.Memory(), transmitterMemory());
}

TEST_F(TransmitterOperationsTest, AbortWhileWaitingForTheWriteEndsQuietly) {
  abortAtInstruction(Msg::PressButtonToWrite);
  write();
  EXPECT_THAT(f().view.texts(), IsEmpty());
  EXPECT_EQ(f().view.status, Text(Msg::WriteCancelled));
  expectWoundUp("n");
  EXPECT_EQ(opu.Memory(), transmitterMemory());
}

TEST_F(TransmitterOperationsTest, AbortAtTheCodeQuestionWritesNothing) {
  setField(Field::edtRadioCodeNew, "BEEF");
  f().view.answers = {mrAbort};
  write();
  EXPECT_EQ(f().view.texts().size(), 1);
  EXPECT_EQ(opu.Commands(), IdentifyingCommands);
  expectWoundUp("s0");
  EXPECT_EQ(opu.Memory(), transmitterMemory());
  EXPECT_EQ(field(Field::edtRadioCodeOld), "1A2B");
}

TEST_F(TransmitterOperationsTest, AFieldNoKeyTypesIsRefusedBeforeTheLinkIsOpened) {
  setField(Field::edtNoShortTx, QStringLiteral("3\u200C"));
  f().view.clear();
  write();
  EXPECT_THAT(f().view.texts(), ElementsAre(Text(Msg::ShortTransmissionsRange)));
  EXPECT_THAT(opu.Commands(), IsEmpty());
  EXPECT_EQ(opu.Memory(), transmitterMemory());
}

TEST_F(TransmitterOperationsTest, AFieldThatCannotBeBuiltIsReportedAfterTheButtonPress) {
  // Only what the key filter takes (the front end's locale writes a comma), yet no number.
  setField(Field::edtButtonActivationDelay, "1,2,3");
  f().view.clear();
  write();
  EXPECT_THAT(f().view.texts(), ElementsAre(FormatText(Msg::ConversionFailedAtAddress, {"54"})));
  EXPECT_EQ(opu.Commands(), IdentifyingCommands);
  expectWoundUp("s0");
  EXPECT_EQ(field(Field::edtRadioCodeOld), "1A2B");
}

TEST_F(TransmitterOperationsTest, TheCodeChangeRefusesCodesBeforeAskingTheOpu) {
  const std::pair<const char*, Msg::Id> refused[] = {
      {"12", Msg::NewCodeNotFourHexDigits},   {"12G4", Msg::NewCodeNotFourHexDigits},
      {"1 2B", Msg::NewCodeNotFourHexDigits}, {"1A\b2", Msg::NewCodeNotFourHexDigits},
      {"ffff", Msg::ReservedRadioCode},       {"0000", Msg::ReservedRadioCode}};
  for (const auto& [code, message] : refused) {
    f().view.clear();
    changeCodeTo(code);
    EXPECT_THAT(f().view.texts(), ElementsAre(Text(message))) << code;
    EXPECT_FALSE(f().view.messages[0].information || f().view.messages[0].question);
  }
  EXPECT_THAT(opu.Commands(), IsEmpty());

  // A code the transmitter already has, in either case, or a No, stops after the
  // identification.
  f().view.clear();
  changeCodeTo("1a2b");
  EXPECT_THAT(f().view.texts(), ElementsAre(FormatText(Msg::CodeChangeNotNeeded, {"1A2B"})));
  f().view.clear();
  f().view.answers = {mrNo};
  changeCodeTo("0FFF");
  EXPECT_THAT(f().view.texts(), ElementsAre(FormatText(Msg::ConfirmCodeChange, {"1A2B", "0FFF"})));
  EXPECT_EQ(opu.Commands(), IdentifyingCommands + IdentifyingCommands);
  expectWoundUp("s0");
  EXPECT_EQ(opu.RadioCode(), "1A2B");
}

TEST_F(TransmitterOperationsTest, AFailedCodeChangeTellsWhyAndLeavesTheCode) {
  struct Case {
    std::function<void(OpuSimFaults&)> fault;
    QStringList messages;
    QStringList afterIdentification;
  };
  const QStringList job = {"n", "n0220C0DE", "i1A2B", "N", "n"};
  const Case cases[] = {
      {[](OpuSimFaults& f) { f.jobOutcome = "04"; }, {Text(Msg::CodeChangeFailed)}, job},
      {[](OpuSimFaults& f) { f.jobOutcome = "05"; }, {Text(Msg::WaitTimedOut)}, job},
      {[](OpuSimFaults& f) { f.refuseJob = true; },
       {Text(Msg::OpuGetJobFailed)},
       {"n", "n0220C0DE", "i1A2B", "n"}},
  };
  for (const Case& failure : cases) {
    opu.SetFaults({});
    setFaults(failure.fault);
    f().view.clear();
    opu.ClearCommands();
    changeCodeTo("C0DE");
    EXPECT_EQ(f().view.texts(),
              QStringList{FormatText(Msg::ConfirmCodeChange, {"1A2B", "C0DE"})} + failure.messages);
    EXPECT_EQ(opu.Conversation(), IdentifyingCommands + failure.afterIdentification);
    expectWoundUp("n");
    EXPECT_EQ(opu.RadioCode(), "1A2B");
  }
}

TEST_F(TransmitterOperationsTest, AbortWhileWaitingForTheCodeChangeEndsWithoutAMessage) {
  abortAtInstruction(Msg::PressButtonToChangeCode);
  changeCodeTo("C0DE");
  EXPECT_THAT(f().view.texts(), ElementsAre(FormatText(Msg::ConfirmCodeChange, {"1A2B", "C0DE"})));
  EXPECT_EQ(opu.Conversation(),
            IdentifyingCommands + QStringList({"n", "n0220C0DE", "i1A2B", "N", "n"}));
  expectWoundUp("n");
  EXPECT_EQ(opu.RadioCode(), "1A2B");
}

// --- Before a write: what changes, and alarms switched off ------------------------------------

// The program knows the transmitter from its read; the window then switches off its emergency
// button.
TEST_F(TransmitterOperationsTest, AWriteThatSwitchesOffTheEmergencyButtonAsksAndSendsNothingOnNo) {
  f().view.knownImages["1A2B"] = transmitterMemory();
  read();
  f().view.fields.checks[Field::cbConfig_D1] = false;
  f().view.confirmWrite = false;
  f().view.clear();
  opu.ClearCommands();
  write();
  ASSERT_EQ(f().view.writeQuestions.size(), 1);
  const QString line = FormatText(
      Msg::WriteReviewLine, {Text(Msg::CaptionAlarmButtonActive), Text(Msg::Yes), Text(Msg::No)});
  EXPECT_EQ(f().view.writeQuestions[0], FormatText(Msg::WriteReviewAlarms, {"1A2B", line + "\n"}) +
                                            "\n" + Text(Msg::WriteReviewAsk));
  // Only the identification went out; the transmitter keeps its button.
  EXPECT_EQ(opu.Conversation(), IdentifyingCommands);
  EXPECT_EQ(opu.Memory(), transmitterMemory());
  EXPECT_EQ(f().view.status, Text(Msg::WriteCancelled));
  EXPECT_EQ(f().observer.outcomes.back().resultNumber, Msg::WriteCancelled);

  f().view.confirmWrite = true;
  opu.ClearCommands();
  write();
  EXPECT_EQ(blockPrefixes(opu.Conversation()), IdentifyingCommands + WriteJob);
  EXPECT_EQ(opu.Memory()[0x2D], transmitterMemory()[0x2D] & ~0x02);
}

TEST_F(TransmitterOperationsTest, AWriteListsExactlyTheFieldsItChangesAndARefreshSaysNoChange) {
  f().view.knownImages["1A2B"] = transmitterMemory();
  read();
  opu.ClearCommands();
  write();
  EXPECT_THAT(f().view.writeQuestions, IsEmpty());
  EXPECT_EQ(blockPrefixes(opu.Conversation()), IdentifyingCommands + WriteJob);
  EXPECT_EQ(f().view.status, Text(Msg::ConfigurationUpdatedNoChange));

  setField(Field::edtBatteryTestInterval, "36");
  setField(Field::edtNoShortTx, "5");
  setField(Field::edtInactivityTiltThreshold, "20");
  write();
  ASSERT_EQ(f().view.reviews.size(), 1U);
  EXPECT_TRUE(f().view.reviews[0].alarms.empty());
  const auto line = [](Msg::Id caption, const char* before, const char* after) {
    return FormatText(Msg::WriteReviewLine, {Text(caption), before, after}) + "\n";
  };
  EXPECT_EQ(f().view.writeQuestions[0],
            FormatText(Msg::WriteReviewChanges,
                       {"1A2B", line(Msg::CaptionShortTransmissions, "3", "5") +
                                    line(Msg::CaptionBatteryTestInterval, "24", "36") +
                                    line(Msg::CaptionTiltThreshold, "10", "20")}) +
                "\n" + Text(Msg::WriteReviewAskChanges));
  EXPECT_EQ(f().view.status, Text(Msg::ConfigurationUpdated));
}

TEST_F(TransmitterOperationsTest, WithNothingKnownAWriteAsksWhenInactivitySensingIsOff) {
  f().view.fields.checks[Field::cbConfig_D0] = false;
  write();
  ASSERT_EQ(f().view.writeQuestions.size(), 1);
  const QString line = FormatText(
      Msg::WriteReviewLine,
      {Text(Msg::CaptionInactivitySenseActive), Text(Msg::WriteReviewUnknownValue), Text(Msg::No)});
  EXPECT_EQ(f().view.writeQuestions[0],
            FormatText(Msg::WriteReviewAlarmsUnknown, {"1A2B", line + "\n"}) + "\n" +
                Text(Msg::WriteReviewAsk));
  EXPECT_EQ(f().view.status, Text(Msg::ConfigurationUpdated));

  // Silenced in service mode, it is not asked about.
  f().operations.SetSilencedInterlocks({Field::cbConfig_D0});
  write();
  EXPECT_EQ(f().view.writeQuestions.size(), 1);
}

}  // namespace

namespace {

// Every code change started gets its record line, also one that ends without a change.
TEST_F(TransmitterOperationsTest, EveryCodeChangeStartedIsRecorded) {
  struct Case {
    const char* name;
    std::function<void()> run;
    int resultNumber;
    const char* codeBefore;
  };
  const Case cases[] = {
      {"Abbruch at the first press",
       [this] {
         abortAtInstruction(Msg::PressButtonForCode);
         changeCodeTo("C0DE");
       },
       Msg::CodeReadCancelled, ""},
      {"already the code", [this] { changeCodeTo("1A2B"); }, Msg::CodeChangeNotNeeded, "1A2B"},
      {"Nein or Escape at the question",
       [this] {
         f().view.answers = {mrNo};
         changeCodeTo("C0DE");
       },
       Msg::CancelledByUser, "1A2B"},
      {"changed", [this] { changeCodeTo("C0DE"); }, 0, "1A2B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    start(opu.LinkOptions());
    opu.SetButtonDelay(0);
    c.run();
    const auto& outcomes = f().observer.outcomes;
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].kind, OperationKind::ChangeCode);
    EXPECT_EQ(outcomes[0].resultNumber, c.resultNumber);
    EXPECT_EQ(outcomes[0].codeBefore, c.codeBefore);
  }
}

// A line's time is when the operation ended on the line, not when the user closed its message.
TEST_F(TransmitterOperationsTest, ALinesTimeIsNotDelayedByItsMessageBox) {
  const std::function<void()> operations[] = {[this] { read(); }, [this] { write(); },
                                              [this] { changeCodeTo("C0DE"); }};
  setFaults([](OpuSimFaults& faults) { faults.jobOutcome = "04"; });
  QDateTime shownAt;
  for (const auto& operation : operations) {
    f().observer.outcomes.clear();
    shownAt = QDateTime();
    f().view.onMessage = [&shownAt](const FakeTransmitterView::Shown& shown) {
      if (shown.question) return;
      shownAt = QDateTime::currentDateTime();
      QTest::qWait(5 * TestPollIntervalMs);  // the user reads the box
    };
    operation();
    ASSERT_FALSE(shownAt.isNull());
    ASSERT_EQ(f().observer.outcomes.size(), 1u);
    EXPECT_LE(f().observer.outcomes[0].finishedAt, shownAt);
  }
}

}  // namespace

namespace {

// A write's record line and backup hold what the transmitter holds, as far as it is known, and
// a confirmed new code is the one the window shows and the next operation expects.
TEST_F(TransmitterOperationsTest, AWriteKeepsWhatTheTransmitterHoldsAndTheCodeItAnswersTo) {
  struct Case {
    const char* name;
    bool readFirst;
    bool verify;
    int unkeptAddress;
    const char* newCode;
    int result;
    const char* codeAfter;
    bool pendantBytesKept;
    const char* codeShown;
    Msg::Id status;
    bool readBackupKept;  // a read of the transmitter before this run left its backup
  };
  const Case cases[] = {
      {"read, then written", true, false, -1, "", 0, "1A2B", true, "1A2B",
       Msg::ConfigurationUpdated, false},
      {"written and checked", false, true, -1, "", 0, "1A2B", true, "1A2B",
       Msg::ConfigurationUpdatedAndVerified, false},
      {"the check finds a byte not kept", false, true, 0x2C, "", Msg::VerifyFoundDifferences,
       "1A2B", true, "1A2B", Msg::WrittenButCheckFailed, false},
      {"a new code", true, false, -1, "BEEF", 0, "BEEF", true, "BEEF", Msg::ConfigurationUpdated,
       false},
      {"a new code the transmitter did not take", false, true, RadioCodeAddress, "BEEF",
       Msg::VerifyPendantSilent, "", false, "1A2B", Msg::WrittenButCheckFailed, false},
      {"read before this run, then written", false, false, -1, "", 0, "1A2B", true, "1A2B",
       Msg::ConfigurationUpdated, true},
  };
  // Production date and counters that the window's configuration does not have.
  ImageBytes memory = transmitterMemory();
  memory[0x23] = 0x11;
  memory[0x2A] = 0x77;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    start(opu.LinkOptions());
    opu.SetFaults({});
    opu.SetMemory(memory);
    setFaults([&c](OpuSimFaults& faults) { faults.unkeptAddress = c.unkeptAddress; });
    f().operations.SetVerifyAfterWrite(c.verify);
    if (c.readFirst) read();
    if (c.readBackupKept) f().view.readImages["1A2B"] = memory;
    setField(Field::edtBatteryTestInterval, "36");
    setField(Field::edtRadioCodeNew, c.newCode);
    f().observer.outcomes.clear();
    write();
    ASSERT_FALSE(f().observer.outcomes.empty());
    const OperationOutcome& written = f().observer.outcomes[0];
    ASSERT_EQ(written.kind, OperationKind::Write);
    EXPECT_EQ(written.resultNumber, c.result);
    EXPECT_EQ(written.codeAfter, c.codeAfter);
    ASSERT_EQ(written.image.has_value(), c.pendantBytesKept);
    // A fresh read of the transmitter finds every byte the backup holds.
    for (int address = RadioCodeAddress; address <= 0x3A && written.image; ++address)
      EXPECT_EQ((*written.image)[address], opu.Memory()[address]) << address;
    EXPECT_EQ(field(Field::edtRadioCodeOld), c.codeShown);
    EXPECT_EQ(f().operations.CurrentRadioCode(), c.pendantBytesKept ? c.codeShown : "");
    EXPECT_EQ(f().view.status, Text(c.status));
  }
}

TEST_F(TransmitterOperationsTest, AChangedCodeIsShownAndExpectedNext) {
  changeCodeTo("C0DE");
  EXPECT_EQ(opu.RadioCode(), "C0DE");
  EXPECT_EQ(field(Field::edtRadioCodeOld), "C0DE");
  EXPECT_EQ(f().operations.CurrentRadioCode(), "C0DE");
}

}  // namespace
