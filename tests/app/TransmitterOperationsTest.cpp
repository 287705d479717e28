// Reading, writing and re-coding a transmitter end to end: the real program windows, the real
// waiting dialog and poll timer, and the serial link talking to a simulated OPU on a
// pseudo-terminal. Message boxes are scripted; the "user" presses the transmitter's button or
// the dialog's Abort from a timer.

#include "app/Changecode.h"
#include "app/Main.h"
#include "app/MainTransmitter.h"
#include "app/ProgramWindows.h"
#include "app/Receiveradio.h"
#include "app/check/ConnectionCheckController.h"
#include "app/check/ConnectionCheckWindow.h"
#include "app/interlocks/InterlockSettingsController.h"
#include "files/VembaIni.h"
#include "image/Texts.h"
#include "link/opu/OpuLinkOptions.h"
#include "support/OperationSamples.h"
#include "support/QtPrinters.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"
#include "support/SimulatedOpu.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A fault of the OPU or its line, and how an operation must end on it.
struct FaultRow {
  const char* name;
  std::function<void(OpuSimFaults&)> fault;
  QString message;
  QString lastCommand;  // the start of the closing command, or of the one the line hung up on
};

class TransmitterOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(opu.IsServing());
    opu.SetMemory(transmitterMemory());
    linkOptions = opu.LinkOptions();
    start();
  }

  void start() {
    windows = CreateProgramWindows(
        MainEnvironment{&dialogs, ScratchStartup(scratch.path()), linkOptions});
    w().Operations().SetPollIntervalMs(TestPollIntervalMs);
    ParameterImage shown{};
    VembaData::LoadImageBytes(shown, shownConfiguration(), OriginLoad);
    ASSERT_EQ(w().Document().Show(shown, OriginLoad), ImageOk);
    dialogs.clear();
    opu.ClearCommands();
  }

  TfrmMain& w() { return *windows->frmMain; }
  TfrmReceiveRadio& waiting() { return *windows->frmReceiveRadio; }
  TfrmChangeCode& changeCode() { return *windows->frmChangeCode; }

  // The user's part while the waiting dialog is up, seen through its instruction text.
  void whileWaiting(std::function<void(TfrmReceiveRadio&)> act) {
    user.setInterval(5);
    QObject::disconnect(&user, nullptr, nullptr, nullptr);
    QObject::connect(&user, &QTimer::timeout, [this, act] {
      if (waiting().isVisible()) act(waiting());
    });
    user.start();
  }
  // Every operation ends with the link closed, the poll timer stopped and the closing command
  // last on the line.
  void expectWoundUp(const QString& closingCommand) {
    EXPECT_FALSE(w().link.IsOpen());
    EXPECT_FALSE(w().form.tmrPollOpuInfo->isActive());
    EXPECT_FALSE(waiting().isVisible());
    EXPECT_TRUE(w().isEnabled());
    ASSERT_FALSE(opu.Commands().isEmpty());
    EXPECT_EQ(opu.Commands().last(), closingCommand);
  }

  // What the window shows and knows, but the code it identified.
  QStringList windowState() {
    QStringList state = {w().windowTitle(), QString::number(static_cast<int>(w().ImageSource))};
    for (const QLineEdit* edit : w().findChildren<QLineEdit*>()) {
      if (edit->window() == &w() && edit != w().form.edtRadioCodeOld)
        state << edit->objectName() + '=' + edit->text();
    }
    for (const QCheckBox* box : w().findChildren<QCheckBox*>())
      state << box->objectName() + '=' + QString::number(box->isChecked());
    return state << QString::number(w().form.cbbxInactivityLimitUnit->currentIndex());
  }

  // Runs the operation against each fault on a fresh line; each ends with its one message,
  // the link closed, the window usable and as it was, and the transmitter unchanged.
  void expectEachFaultEndsCleanly(const std::vector<FaultRow>& rows,
                                  const std::function<void()>& operation,
                                  const QStringList& messagesBefore = {}) {
    for (const FaultRow& row : rows) {
      SCOPED_TRACE(row.name);
      opu.Restart();
      ASSERT_TRUE(opu.IsServing());
      opu.SetFaults({});
      setFaults(row.fault);
      const QStringList before = windowState();
      dialogs.clear();
      opu.ClearCommands();
      dialogs.onMessage = [](const ScriptedDialogs::Shown&) {
        QTest::qWait(3 * TestPollIntervalMs);
      };
      operation();
      const bool identificationFailed = !opu.Commands().contains("s0");
      const QStringList expected = (identificationFailed ? QStringList() : messagesBefore);
      EXPECT_EQ(dialogs.texts().join('|'), (expected + QStringList{row.message}).join('|'));
      EXPECT_FALSE(w().link.IsOpen());
      EXPECT_FALSE(w().form.tmrPollOpuInfo->isActive());
      EXPECT_FALSE(waiting().isVisible());
      EXPECT_TRUE(w().isEnabled());
      EXPECT_TRUE(opu.Commands().value(opu.Commands().size() - 1).startsWith(row.lastCommand))
          << opu.Commands().join(' ').toStdString();
      EXPECT_EQ(windowState(), before);
      EXPECT_EQ(opu.Memory(), transmitterMemory());
    }
  }

  void read() { w().form.mnuCommReadFromDevice->trigger(); }
  void write() { w().form.mnuCommWriteToDevice->trigger(); }
  // A text dragged from elsewhere and dropped on the middle of a field.
  static void dropText(QWidget* field, const QString& text) {
    QMimeData data;
    data.setText(text);
    const QPoint middle = field->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &drop);
  }
  void changeCodeTo(const QString& code) {
    changeCode().edtNewCode->setText(code);
    changeCode().btnChange->click();
  }
  void runWithJobOutcome(const char* outcome, const std::function<void()>& operation) {
    RunWithJobOutcome(opu, dialogs, outcome, operation);
  }
  void setFaults(const std::function<void(OpuSimFaults&)>& change) { ChangeFaults(opu, change); }

  // The bytes a read must have taken from the transmitter, and nothing else.
  void expectReceivedTransmitterBytes() {
    const ImageBytes memory = opu.Memory();
    for (int address = 0; address < ImageSize; ++address) {
      const bool read = address >= 0x22 && address <= 0x3A;
      EXPECT_EQ(w().ReceivedImage[address].value, read ? memory[address] : 0) << address;
      EXPECT_EQ(w().ReceivedImage[address].origin, read ? OriginRead : OriginNone) << address;
    }
  }

  // What the window would write now, for the bytes a write sends.
  ParameterImage built() {
    ParameterImage image{};
    EXPECT_EQ(w().Document().Build(image, OriginWrite), ImageOk);
    return image;
  }

  SimulatedOpu opu;
  ScriptedDialogs dialogs;
  QTemporaryDir scratch;
  OpuLinkOptions linkOptions;  // the simulated OPU unless a test names another port
  std::unique_ptr<ProgramWindows> windows;
  QTimer user;
};

// --- Reading -------------------------------------------------------------------------------

TEST_F(TransmitterOperationsTest, AReadShowsTheTransmittersBytesAndNamesTheTransmitter) {
  w().SetStatusText("vorher");
  read();
  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_EQ(w().StatusText(), Text(Msg::ReadFinished));
  EXPECT_EQ(opu.Conversation(), IdentifyingCommands + ReadRequests +
                                    QStringList({"i1A2B", "M", "x", "x", "x", "x", "x", "m"}));
  expectWoundUp("m");
  expectReceivedTransmitterBytes();

  EXPECT_EQ(w().Operations().CurrentRadioCode(), "1A2B");
  EXPECT_EQ(w().form.edtRadioCodeOld->text(), "1A2B");
  EXPECT_EQ(w().form.edtProductionDate->text(), "250615");
  EXPECT_EQ(w().form.edtBatteryTestInterval->text(), "24");
  EXPECT_EQ(w().form.edtInactivityRetransmissionAttempts->text(), "3");
  EXPECT_EQ(w().ImageSource, SourceTransmitter);
  EXPECT_TRUE(w().windowTitle().contains(Text(Msg::TitleReadFromPendant)));
  // Every byte a write would send comes back as the transmitter holds it.
  const ParameterImage image = built();
  const ImageBytes memory = opu.Memory();
  for (const ImageBlock& block : ConfigurationWriteBlocks()) {
    for (int address = block.start; address < block.start + block.count; ++address) {
      EXPECT_EQ(image[address].value, memory[address]) << address;
    }
  }
  EXPECT_EQ(waiting().windowTitle(), Text(Msg::ReadTitle));
  EXPECT_EQ(waiting().lblAction->text(), Text(Msg::PressButtonToRead));
}

// The simulator's own transmitter is the demo's: it shows without a complaint. The one the
// window refuses stays at hand for tests.
TEST_F(TransmitterOperationsTest, TheSimulatorsOwnTransmitterShowsWithoutAComplaint) {
  opu.SetMemory(OpuSimulator::FactoryImage());
  read();
  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_EQ(w().StatusText(), Text(Msg::ReadFinished));
  opu.SetMemory(OpuSimulator::OutOfRangeImage());
  read();
  EXPECT_FALSE(dialogs.texts().isEmpty());
}

TEST_F(TransmitterOperationsTest, AReadOfAnotherProductSaysSoAndStillNamesTheTransmitter) {
  ImageBytes memory = transmitterMemory();
  memory[ProductTypeAddress] = 5;
  opu.SetMemory(memory);
  read();
  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::InvalidProductType)));
  EXPECT_EQ(w().ImageSource, SourceTransmitter);
  EXPECT_TRUE(w().windowTitle().contains(Text(Msg::TitleReadFromPendant)));
  expectWoundUp("m");
}

TEST_F(TransmitterOperationsTest, AFailedReadLeavesTheWindowAsItWasAndTellsWhy) {
  const QString titleBefore = w().windowTitle();
  const QString limitBefore = w().form.edtBatteryTestInterval->text();
  struct Case {
    const char* outcome;
    QStringList messages;
    QString status;
  };
  const Case cases[] = {{"04", {Text(Msg::ReadFailed)}, {}}, {"05", {Text(Msg::WaitTimedOut)}, {}}};
  for (const Case& failure : cases) {
    SCOPED_TRACE(failure.outcome);
    runWithJobOutcome(failure.outcome, [this] { read(); });
    EXPECT_EQ(dialogs.texts(), failure.messages);
    EXPECT_EQ(w().StatusText(), failure.status);
    EXPECT_EQ(opu.Conversation(),
              IdentifyingCommands + ReadRequests + QStringList({"i1A2B", "M", "m", "m"}));
    expectWoundUp("m");
    EXPECT_EQ(w().form.edtRadioCodeOld->text(), "1A2B");
    EXPECT_EQ(w().form.edtBatteryTestInterval->text(), limitBefore);
    EXPECT_EQ(w().windowTitle(), titleBefore);
    EXPECT_EQ(w().ImageSource, SourceDefault);
    EXPECT_TRUE(std::all_of(
        w().ReceivedImage.begin(), w().ReceivedImage.end(),
        [](const ImageCell& cell) { return cell.value == 0 && cell.origin == OriginNone; }));
  }
}

// --- Writing -------------------------------------------------------------------------------

TEST_F(TransmitterOperationsTest, AWriteSendsTheWindowsConfigurationAndOnlyAConfirmedCode) {
  read();
  w().form.edtBatteryTestInterval->setText("36");
  w().form.edtRadioCodeNew->setText("beef");
  dialogs.answers = {mrNo};
  dialogs.clear();
  opu.ClearCommands();
  write();
  // The question names the code as the code block would carry it; the read's backup shows what
  // changes.
  const QString change =
      FormatText(Msg::WriteReviewLine, {Text(Msg::CaptionBatteryTestInterval), "24", "36"});
  EXPECT_THAT(dialogs.texts(),
              ElementsAre(FormatText(Msg::ConfirmCodeChange, {"1A2B", "BEEF"}),
                          FormatText(Msg::WriteReviewChanges, {"1A2B", change + "\n"}) + "\n" +
                              Text(Msg::WriteReviewAskChanges)));
  EXPECT_EQ(dialogs.messages[0].buttons, BoxButtons::YesNoAbort);
  EXPECT_EQ(dialogs.messages[1].kind, BoxKind::Confirmation);
  EXPECT_EQ(dialogs.messages[1].buttons, BoxButtons::YesNo);
  EXPECT_EQ(w().StatusText(), Text(Msg::ConfigurationUpdated));
  EXPECT_EQ(blockPrefixes(opu.Conversation()), IdentifyingCommands + WriteJob);
  expectWoundUp("n");
  ImageBytes expected = transmitterMemory();
  expected[0x2C] = 36;
  EXPECT_EQ(opu.Memory(), expected);

  dialogs.clear();
  opu.ClearCommands();
  write();  // Yes, by default
  EXPECT_THAT(dialogs.texts(), ElementsAre(FormatText(Msg::ConfirmCodeChange, {"1A2B", "BEEF"})));
  EXPECT_EQ(w().StatusText(), Text(Msg::ConfigurationUpdated));
  EXPECT_EQ(blockPrefixes(opu.Conversation()),
            IdentifyingCommands +
                QStringList({"n", "n0327", "n022C", "n0830", "n013A", "n0220", "i1A2B", "N", "n"}));
  EXPECT_TRUE(opu.Commands().contains("n0220BEEF"));
  expectWoundUp("n");
  expected[RadioCodeAddress] = 0xBE;
  expected[0x21] = 0xEF;
  EXPECT_EQ(opu.Memory(), expected);
  // The window names the code the transmitter confirmed.
  EXPECT_EQ(w().Operations().CurrentRadioCode(), "BEEF");
  EXPECT_EQ(w().form.edtRadioCodeOld->text(), "BEEF");
  EXPECT_EQ(waiting().windowTitle(), Text(Msg::WriteTitle));
  EXPECT_EQ(waiting().lblAction->text(), Text(Msg::PressButtonToWrite));

  // The code it now has, in lower case, is no change: no question and no code block.
  dialogs.clear();
  opu.ClearCommands();
  write();
  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_EQ(w().form.edtRadioCodeOld->text(), "BEEF");
  EXPECT_FALSE(opu.Commands().join(' ').contains("n0220"));
}

TEST_F(TransmitterOperationsTest, AWriteSwitchingOffTheEmergencyButtonWarnsWithNoAsTheDefault) {
  read();
  w().form.cbConfig_D1->setChecked(false);
  dialogs.clear();
  opu.ClearCommands();
  write();  // the user presses Enter
  ASSERT_EQ(dialogs.messages.size(), 1U);
  EXPECT_EQ(dialogs.messages[0].kind, BoxKind::Warning);
  EXPECT_EQ(dialogs.messages[0].buttons, BoxButtons::YesNoDefaultNo);
  EXPECT_THAT(
      dialogs.texts()[0].toStdString(),
      ::testing::HasSubstr(FormatText(Msg::WriteReviewLine, {Text(Msg::CaptionAlarmButtonActive),
                                                             Text(Msg::Yes), Text(Msg::No)})
                               .toStdString()));
  EXPECT_EQ(opu.Conversation(), IdentifyingCommands);
  EXPECT_EQ(opu.Memory(), transmitterMemory());
  EXPECT_EQ(w().StatusText(), Text(Msg::WriteCancelled));
}

// Only a service-mode start offers the questions to switch off, and only it reads the choice.
TEST_F(TransmitterOperationsTest, ServiceModeSwitchesOffTheQuestionForOneField) {
  windows = CreateProgramWindows(
      MainEnvironment{&dialogs, ScratchStartup(scratch.path(), {"-SERVICE"}), linkOptions});
  w().Operations().SetPollIntervalMs(TestPollIntervalMs);
  ASSERT_NE(w().Interlocks(), nullptr);
  w().Interlocks()->entries.at(Field::cbConfig_D1)->setChecked(false);
  EXPECT_EQ(w().VembaIni.ReadSetting(SetupSection, SilencedInterlocksKey), "cbConfig_D1");
  read();
  w().form.cbConfig_D1->setChecked(false);
  dialogs.clear();
  write();
  // Only what changes is asked, as a plain question.
  ASSERT_EQ(dialogs.messages.size(), 1U);
  EXPECT_EQ(dialogs.messages[0].buttons, BoxButtons::YesNo);
  EXPECT_EQ(w().StatusText(), Text(Msg::ConfigurationUpdated));

  // A normal start asks, here about a transmitter the program never saw.
  start();
  EXPECT_EQ(w().Interlocks(), nullptr);
  ImageBytes other = transmitterMemory();
  other[RadioCodeAddress + 1] = 0x2C;
  opu.SetMemory(other);
  w().form.cbConfig_D1->setChecked(false);
  dialogs.clear();
  opu.ClearCommands();
  write();
  ASSERT_EQ(dialogs.messages.size(), 1U);
  EXPECT_EQ(dialogs.messages[0].buttons, BoxButtons::YesNoDefaultNo);
  EXPECT_EQ(opu.Conversation(), IdentifyingCommands);
}

TEST_F(TransmitterOperationsTest, AWriteRefusedBeforeTheOpuIsAskedSendsNothing) {
  w().form.edtInactivityLimit->setText("55");  // 11 measurements of 5 minutes
  w().form.edtInactivitySampleInterval->setText("5");
  w().form.cbbxInactivityLimitUnit->setCurrentIndex(UnitMinutes);
  dialogs.clear();
  dialogs.answers = {mrCancel};
  write();
  EXPECT_THAT(dialogs.texts(), ElementsAre(FormatText(Msg::FewIdenticalMeasurementsWarning,
                                                      {"55 Minuten", "5", "11"})));

  w().form.edtInactivityLimit->setText("60");
  // Whatever put the code there: the codec would make 0000 of "GGGG" and 1200 of "12".
  const std::pair<const char*, Msg::Id> refused[] = {
      {"ffff", Msg::ReservedRadioCode},        {"000", Msg::ReservedRadioCode},
      {"0", Msg::ReservedRadioCode},           {"GGGG", Msg::NewCodeNotFourHexDigits},
      {"0000x", Msg::NewCodeNotFourHexDigits}, {"FFFF ", Msg::NewCodeNotFourHexDigits},
      {"12", Msg::NewCodeNotFourHexDigits},
  };
  for (const auto& [code, message] : refused) {
    w().form.edtRadioCodeNew->setText(code);
    dialogs.clear();
    write();
    EXPECT_EQ(dialogs.texts().last(), Text(message)) << code;
  }
  EXPECT_THAT(opu.Commands(), IsEmpty());
  EXPECT_FALSE(w().link.IsOpen());
  EXPECT_EQ(opu.Memory(), transmitterMemory());
  EXPECT_EQ(opu.RadioCode(), "1A2B");
}

// --- Radio code change ---------------------------------------------------------------------

TEST_F(TransmitterOperationsTest, TheCodeChangeGivesTheTransmitterTheNewCodeInUpperCase) {
  w().SetStatusText("vorher");
  // A dropped code is cut to the field's four characters like a typed one.
  dropText(changeCode().edtNewCode, "c0de9");
  changeCode().btnChange->click();
  EXPECT_THAT(dialogs.texts(), ElementsAre(FormatText(Msg::ConfirmCodeChange, {"1A2B", "C0DE"}),
                                           Text(Msg::CodeChanged)));
  EXPECT_EQ(dialogs.messages[0].buttons, BoxButtons::YesNo);
  EXPECT_EQ(dialogs.messages[1].kind, BoxKind::Information);
  EXPECT_EQ(opu.Conversation(),
            IdentifyingCommands + QStringList({"n", "n0220C0DE", "i1A2B", "N", "n"}));
  expectWoundUp("n");
  EXPECT_EQ(opu.RadioCode(), "C0DE");
  EXPECT_TRUE(w().StatusText().isEmpty());
  // The window names the code the transmitter confirmed.
  EXPECT_EQ(w().Operations().CurrentRadioCode(), "C0DE");
  EXPECT_EQ(w().form.edtRadioCodeOld->text(), "C0DE");
  EXPECT_EQ(changeCode().edtNewCode->text(), "c0de");
  EXPECT_EQ(waiting().windowTitle(), Text(Msg::ChangeCodeTitle));
  EXPECT_EQ(waiting().lblAction->text(), Text(Msg::PressButtonToChangeCode));

  // The transmitter now answers under its new code.
  dialogs.clear();
  read();
  EXPECT_EQ(w().form.edtRadioCodeOld->text(), "C0DE");
}

// --- The radio-code dialog -----------------------------------------------------------------

TEST_F(TransmitterOperationsTest, TheCodeDialogTakesFourHexDigitsAndStartsEmptyEachTime) {
  TfrmChangeCode& dialog = changeCode();
  EXPECT_EQ(dialog.windowTitle(), Text(Msg::ChangeCodeTitle));
  EXPECT_EQ(dialog.lblNote->text(), Text(Msg::ChangeCodeInstructions));
  EXPECT_EQ(dialog.lblNote->width(), 345);
  EXPECT_EQ(dialog.btnChange->text(), Text(Msg::ChangeCodeButton));
  EXPECT_EQ(dialog.size(), QSize(393, 293));

  dialog.show();
  QTest::keyClicks(dialog.edtNewCode, "aG-1f2B");
  EXPECT_EQ(dialog.edtNewCode->text(), "a1f2");
  // Escape closes the dialog as its close button does.
  QTest::keyClick(dialog.edtNewCode, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  dialog.show();
  EXPECT_TRUE(dialog.edtNewCode->text().isEmpty());
  dialog.btnOk->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), mrOk);
}

// --- One operation at a time ----------------------------------------------------------------

// With the OPU slow to answer, a second command given while the first runs (a space for the
// focused read button that the first read's event loops deliver, a menu, a drop) must not
// start inside it.
TEST_F(TransmitterOperationsTest, NoSecondCommandStartsInsideARunningOperation) {
  opu.SetButtonDelay(150);
  for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QCoreApplication::postEvent(w().form.btnReadFromDevice,
                                new QKeyEvent(type, Qt::Key_Space, Qt::NoModifier, " "));
  }
  bool tried = false;
  whileWaiting([this, &tried](TfrmReceiveRadio& dialog) {
    if (tried || dialog.lblAction->text() != Text(Msg::PressButtonToRead)) return;
    tried = true;
    EXPECT_TRUE(w().OperationRunning());
    for (QAction* command :
         {w().form.mnuCommReadFromDevice, w().form.mnuCommWriteToDevice,
          w().form.mnuCommChangeIdCode, w().form.mnuHelpAbout, w().form.mnuFileNew,
          w().form.mnuFileOpen, w().form.mnuFileSave, w().form.mnuFileSaveAs,
          w().form.mnuFileSelectDefaultFolder, w().form.mnuFileExit}) {
      command->trigger();
    }
    w().form.btnGetVembaCode->click();
    w().WMDropFiles({scratch.filePath("elsewhere.ukova")});
  });
  read();
  user.stop();
  EXPECT_TRUE(tried);
  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_TRUE(dialogs.openRequests.empty());
  EXPECT_TRUE(dialogs.saveRequests.empty());
  EXPECT_EQ(opu.Conversation(), IdentifyingCommands + ReadRequests +
                                    QStringList({"i1A2B", "M", "x", "x", "x", "x", "x", "m"}));
  EXPECT_EQ(w().StatusText(), Text(Msg::ReadFinished));
  expectWoundUp("m");
  EXPECT_FALSE(w().OperationRunning());
}

// --- Faults of the OPU and its line ---------------------------------------------------------

// A silent or garbling OPU, a pulled cable and a port that is gone are no reason to update the
// OPU's firmware; they end the operation at once, with the OPU named as unreachable.
const std::vector<FaultRow> IdentificationFaults = {
    {"silent version", [](OpuSimFaults& f) { f.silentCommands = "v"; }, Text(Msg::OpuNotReachable),
     "v"},
    {"garbled version", [](OpuSimFaults& f) { f.wrongChecksum = true; }, Text(Msg::OpuNotReachable),
     "v"},
    {"hang-up at the version", [](OpuSimFaults& f) { f.hangUpOn = "v"; },
     Text(Msg::OpuNotReachable), "v"},
    {"hang-up while listening", [](OpuSimFaults& f) { f.hangUpOn = "A"; },
     Text(Msg::OpuNotReachable), "A"},
    {"port gone after the identification", [](OpuSimFaults& f) { f.portGoneAfter = "s"; },
     Text(Msg::OpuNotReachable), "s0"},
};

TEST_F(TransmitterOperationsTest, EveryFaultEndsAReadWithItsMessageAndNothingInvented) {
  std::vector<FaultRow> rows = IdentificationFaults;
  rows.insert(rows.end(),
              {
                  {"hang-up while the job runs", [](OpuSimFaults& f) { f.hangUpOn = "M"; },
                   Text(Msg::OpuNotReachable), "M"},
                  {"hang-up after the first block",
                   [](OpuSimFaults& f) {
                     f.hangUpOn = "x";
                     f.hangUpAfter = 1;
                   },
                   Text(Msg::OpuNotReachable), "x"},
                  {"no block fetched", [](OpuSimFaults& f) { f.silentCommands = "x"; },
                   Text(Msg::ReadFailed), "m"},
                  {"a block lost", [](OpuSimFaults& f) { f.readBlocksLost = 1; },
                   Text(Msg::ReadFailed), "m"},
              });
  expectEachFaultEndsCleanly(rows, [this] { read(); });
  EXPECT_TRUE(std::all_of(w().ReceivedImage.begin(), w().ReceivedImage.end(),
                          [](const ImageCell& cell) { return cell.origin == OriginNone; }));
}

TEST_F(TransmitterOperationsTest, EveryFaultEndsAWriteWithItsMessageBeforeTheJobStarts) {
  std::vector<FaultRow> rows = IdentificationFaults;
  rows.insert(rows.end(),
              {
                  {"refused blocks", [](OpuSimFaults& f) { f.refuseBlocks = true; },
                   Text(Msg::WriteFailed), "n"},
                  {"silent blocks", [](OpuSimFaults& f) { f.silentBlocks = true; },
                   Text(Msg::WriteFailed), "n"},
                  {"silent empty block", [](OpuSimFaults& f) { f.silentCommands = "n"; },
                   Text(Msg::WriteFailed), "n"},
                  {"hang-up at a block",
                   [](OpuSimFaults& f) {
                     f.hangUpOn = "n";
                     f.hangUpAfter = 2;
                   },
                   Text(Msg::OpuNotReachable), "n022C"},
                  {"hang-up while the job runs", [](OpuSimFaults& f) { f.hangUpOn = "N"; },
                   Text(Msg::OpuNotReachable), "N"},
              });
  expectEachFaultEndsCleanly(rows, [this] { write(); });
  EXPECT_NE(w().StatusText(), Text(Msg::ConfigurationUpdated));
}

TEST_F(TransmitterOperationsTest, EveryFaultEndsACodeChangeWithItsMessageAndTheOldCode) {
  std::vector<FaultRow> rows = IdentificationFaults;
  rows.insert(rows.end(),
              {
                  {"refused blocks", [](OpuSimFaults& f) { f.refuseBlocks = true; },
                   Text(Msg::CodeChangeFailed), "n"},
                  {"silent blocks", [](OpuSimFaults& f) { f.silentBlocks = true; },
                   Text(Msg::CodeChangeFailed), "n"},
                  {"hang-up while the job runs", [](OpuSimFaults& f) { f.hangUpOn = "N"; },
                   Text(Msg::OpuNotReachable), "N"},
              });
  expectEachFaultEndsCleanly(rows, [this] { changeCodeTo("C0DE"); },
                             {FormatText(Msg::ConfirmCodeChange, {"1A2B", "C0DE"})});
}

}  // namespace

// --- Connection check ----------------------------------------------------------------------

TEST_F(TransmitterOperationsTest, TheConnectionCheckTalksToTheWindowsPortAndHoldsOffEveryCommand) {
  std::array<TfrmConnectionCheck::Mark, 3> marks{};
  bool seen = false;
  user.setInterval(5);
  QObject::connect(&user, &QTimer::timeout, [&] {
    auto* check = w().findChild<TfrmConnectionCheck*>();
    if (check == nullptr || !check->isVisible()) return;
    if (check->MarkOf(TfrmConnectionCheck::StepOpu) != TfrmConnectionCheck::Mark::Passed) return;
    user.stop();
    for (int step = 0; step < 3; ++step)
      marks[step] = check->MarkOf(TfrmConnectionCheck::Step(step));
    // No other command starts while the check runs.
    w().Transmitter().btnReadFromDeviceClick();
    seen = true;
    check->reject();
  });
  user.start();
  w().ConnectionCheck().mnuHelpConnectionCheck->trigger();
  ASSERT_TRUE(seen);
  EXPECT_EQ(marks[0], TfrmConnectionCheck::Mark::Passed);
  EXPECT_EQ(marks[1], TfrmConnectionCheck::Mark::Passed);
  EXPECT_EQ(opu.Commands(), QStringList{"v"});
  EXPECT_FALSE(w().OperationRunning());
  EXPECT_EQ(w().ConnectionCheck().mnuHelpConnectionCheck->text(),
            Text(Msg::MenuHelpConnectionCheck));
}
