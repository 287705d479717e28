#include "app/Changecode.h"
#include "app/Main.h"
#include "image/Texts.h"
#include "image/VembaData.h"
#include "support/QtPrinters.h"
#include "support/SampleImage.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QLocale German(QLocale::German, QLocale::Germany);
const QLocale English(QLocale::English, QLocale::UnitedStates);

// A configuration as a file delivers it: every parameter in range, inactivity sensing, alarm
// button and activity alarm on, the radio test alarm off.
ParameterImage loadedImage(int inactivityCount = 12, int sampleInterval = 5) {
  return SampleImage(OriginLoad, {{0x32, 3},
                                  {0x37, 4},
                                  {0x3A, 2},
                                  {SampleIntervalAddress, sampleInterval},
                                  {InactivityCountAddress, inactivityCount / 256},
                                  {InactivityCountAddress + 1, inactivityCount % 256}});
}

QStringList texts(std::initializer_list<Msg::Id> numbers) {
  QStringList result;
  for (const Msg::Id number : numbers) result << Text(number);
  return result;
}

class MainFieldRules : public ::testing::Test {
 protected:
  void SetUp() override {
    previousLocale_ = QLocale();
    QLocale::setDefault(German);
    start({});
  }
  void TearDown() override {
    window_.reset();
    QLocale::setDefault(previousLocale_);
  }

  void start(const QStringList& arguments) {
    window_ = std::make_unique<TfrmMain>(
        MainEnvironment{&dialogs, ScratchStartup(scratch_.path(), arguments)});
    dialogs.clear();
  }

  TfrmMain& w() { return *window_; }

  QTemporaryDir scratch_;

  void show(const ParameterImage& image) {
    ASSERT_EQ(w().Document().Show(image, OriginLoad), ImageOk);
    dialogs.clear();
  }

  // Empties the field and types the keys one by one, as the user would.
  void typeInto(QLineEdit* edit, const QString& keys) {
    edit->clear();
    dialogs.clear();
    QTest::keyClicks(edit, keys);
  }

  void activate(QWidget* window, QWidget* focus) {
    window->show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    focus->setFocus();
  }

  ScriptedDialogs dialogs;

 private:
  std::unique_ptr<TfrmMain> window_;
  QLocale previousLocale_;
};

}  // namespace

// --- Key filters ---------------------------------------------------------------------------

TEST_F(MainFieldRules, NumericAndRadioCodeFieldsTakeOnlyTheirDigits) {
  typeInto(w().form.edtBatteryTestInterval, "1a -2");
  EXPECT_EQ(w().form.edtBatteryTestInterval->text(), "12");
  typeInto(w().form.edtInactivityRetransmissionAttempts, "x9");
  EXPECT_EQ(w().form.edtInactivityRetransmissionAttempts->text(), "9");
  typeInto(w().form.edtRadioCodeNew, "aG1f");
  EXPECT_EQ(w().form.edtRadioCodeNew->text(), "a1f");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainFieldRules, DecimalFieldTakesTheSeparatorOfTheLocale) {
  typeInto(w().form.edtButtonActivationDelay, "1.5");
  EXPECT_EQ(w().form.edtButtonActivationDelay->text(), "15");
  typeInto(w().form.edtButtonActivationDelay, "2,6");
  EXPECT_EQ(w().form.edtButtonActivationDelay->text(), "2,6");

  QLocale::setDefault(English);
  typeInto(w().form.edtButtonActivationDelay, "1,5");
  EXPECT_EQ(w().form.edtButtonActivationDelay->text(), "15");
  typeInto(w().form.edtButtonActivationDelay, "2.6");
  EXPECT_EQ(w().form.edtButtonActivationDelay->text(), "2.6");
}

TEST_F(MainFieldRules, EditingKeysPassAndOtherControlKeysAreSwallowed) {
  FieldEdit* edit = w().form.edtDementiaBlockTime;
  QSignalSpy returnPressed(edit, &QLineEdit::returnPressed);
  typeInto(edit, "123");
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  EXPECT_FALSE(edit->hasSelectedText());
  QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "123");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(returnPressed.count(), 0);

  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(edit->text(), "12");
  QTest::keyClick(edit, Qt::Key_Home);
  QTest::keyClick(edit, Qt::Key_Delete);
  EXPECT_EQ(edit->text(), "2");

  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "");
  EXPECT_EQ(QApplication::clipboard()->text(), "2");
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "2");
}

TEST_F(MainFieldRules, PastedTextPassesTheFilterButNotTheRule) {
  QApplication::clipboard()->setText("ab");
  typeInto(w().form.edtBatteryTestInterval, "");
  QTest::keyClick(w().form.edtBatteryTestInterval, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(w().form.edtBatteryTestInterval->text(), "ab");
  EXPECT_TRUE(dialogs.messages.empty());

  // A real X11 Ctrl+V carries the control character as its text.
  QApplication::clipboard()->setText("300");
  typeInto(w().form.edtInactivitySampleInterval, "");
  QTest::sendKeyEvent(QTest::Press, w().form.edtInactivitySampleInterval, Qt::Key_V,
                      QString(QChar(22)), Qt::ControlModifier);
  EXPECT_EQ(dialogs.texts(), texts({Msg::SampleIntervalRange}));
  EXPECT_EQ(w().form.edtInactivitySampleInterval->text(), "1");
}

TEST_F(MainFieldRules, MaximumLengthLimitsTypingButNotTextSetByTheProgram) {
  typeInto(w().form.edtRadioCodeNew, "12345");
  EXPECT_EQ(w().form.edtRadioCodeNew->text(), "1234");
  w().form.edtRadioCodeNew->setText("123456");
  EXPECT_EQ(w().form.edtRadioCodeNew->text(), "123456");

  // Time mode starts with hours' length; without a unit nothing judges the digits.
  typeInto(w().form.edtInactivityLimit, "12345");
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "1234");
  start({"-service"});
  typeInto(w().form.edtInactivityLimit, "123456");
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "12345");
}

// --- Other routes into a field --------------------------------------------------------------

TEST_F(MainFieldRules, CtrlVPastesNoMoreThanTheMaximumLengthAndTheRuleJudgesItOnce) {
  QApplication::clipboard()->setText("fFfF0");
  typeInto(w().form.edtRadioCodeNew, "");
  QTest::keyClick(w().form.edtRadioCodeNew, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(w().form.edtRadioCodeNew->text(), "fFfF");
  EXPECT_EQ(dialogs.texts(), texts({Msg::ReservedRadioCode}));
}

TEST_F(MainFieldRules, PasteIsCutWhereNoRuleWouldCatchTheValue) {
  QApplication::clipboard()->setText("300");
  typeInto(w().form.edtInactivityRetransmissionAttempts, "");
  w().form.edtInactivityRetransmissionAttempts->paste();
  EXPECT_EQ(w().form.edtInactivityRetransmissionAttempts->text(), "30");
  EXPECT_TRUE(dialogs.messages.empty());
  ParameterImage built{};
  (void)w().Document().Build(built, OriginSave);
  EXPECT_EQ(built[0x3A].value, 30);
}

TEST_F(MainFieldRules, InputMethodTextIsFilteredAndCutLikeTypedText) {
  const auto commit = [this](const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(w().form.edtNoShortTx, &event);
  };
  typeInto(w().form.edtNoShortTx, "");
  commit(QStringLiteral("\u00b9"));  // a German keyboard's dead ^, then 1
  EXPECT_EQ(w().form.edtNoShortTx->text(), "");
  commit(QStringLiteral("\u00b92"));
  EXPECT_EQ(w().form.edtNoShortTx->text(), "2");
  EXPECT_TRUE(dialogs.messages.empty());
  commit("34");  // "23" stays, and is judged
  EXPECT_EQ(dialogs.texts(), texts({Msg::ShortTransmissionsRange}));
  EXPECT_EQ(w().form.edtNoShortTx->text(), "15");
}

// --- Range rules ---------------------------------------------------------------------------

TEST_F(MainFieldRules, TypedTextIsJudgedAtEveryKeystroke) {
  QString shownWhileBoxOpen;
  dialogs.onMessage = [this, &shownWhileBoxOpen](const ScriptedDialogs::Shown& shown) {
    EXPECT_EQ(shown.kind, BoxKind::Error);
    shownWhileBoxOpen = w().form.edtNoShortTx->text();
  };
  typeInto(w().form.edtNoShortTx, "20");
  EXPECT_EQ(dialogs.texts(), texts({Msg::ShortTransmissionsRange}));
  EXPECT_EQ(shownWhileBoxOpen, "20");
  EXPECT_EQ(w().form.edtNoShortTx->text(), "15");

  typeInto(w().form.edtBatteryTestInterval, "255");
  EXPECT_TRUE(dialogs.messages.empty());
  typeInto(w().form.edtInactivitySampleInterval, "");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainFieldRules, ButtonDelayIsJudgedAsADecimalOfTheLocale) {
  typeInto(w().form.edtButtonActivationDelay, "25,5");
  EXPECT_EQ(dialogs.texts(), texts({Msg::ButtonActivationDelayRange}));
  EXPECT_EQ(w().form.edtButtonActivationDelay->text(), "25");

  QLocale::setDefault(English);
  dialogs.clear();
  w().form.edtButtonActivationDelay->setText("25.5");
  EXPECT_EQ(dialogs.texts(), texts({Msg::ButtonActivationDelayRange}));
  dialogs.clear();
  w().form.edtButtonActivationDelay->setText("2.5");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainFieldRules, LimitIsJudgedInTheUnitSelectedWhenItChanges) {
  typeInto(w().form.edtInactivityLimit, "0");
  EXPECT_TRUE(dialogs.messages.empty()) << "no unit selected yet";

  show(loadedImage(12, 5));  // 60 minutes: one hour
  typeInto(w().form.edtInactivityLimit, "1093");
  EXPECT_EQ(dialogs.texts(), texts({Msg::InactivityLimitHoursRange}));
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "1");

  show(loadedImage(13, 5));  // 65 minutes
  EXPECT_EQ(w().form.edtInactivityLimit->typedMaxLength(), 5);
  typeInto(w().form.edtInactivityLimit, "65535");
  EXPECT_TRUE(dialogs.messages.empty());
  typeInto(w().form.edtInactivityLimit, "0");
  EXPECT_EQ(dialogs.texts(), texts({Msg::InactivityLimitMinutesRange}));
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "1");

  start({"-SERVICE"});
  typeInto(w().form.edtInactivityLimit, "0");
  EXPECT_EQ(dialogs.texts(), texts({Msg::InactivityLimitCountRange}));
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "65535");
}

TEST_F(MainFieldRules, RuleBoxOpensWhileAnImageIsShownAndTheShowGoesOn) {
  QStringList laterFieldsWhileBoxOpen;
  dialogs.onMessage = [this, &laterFieldsWhileBoxOpen](const ScriptedDialogs::Shown&) {
    laterFieldsWhileBoxOpen << w().form.edtInactivityTiltThreshold->text()
                            << w().form.edtFirmwareVersion->text();
  };
  // Setting a text equal to the shown one is no change: start from other values.
  w().form.edtInactivityLimit->setText("2");
  w().form.edtInactivitySampleInterval->setText("5");
  EXPECT_EQ(w().Document().Show(loadedImage(12, 0), OriginLoad), ImageOk);
  // An interval of 0 shows the limit as 0 hours, then the interval itself as 0.
  EXPECT_EQ(dialogs.texts(), texts({Msg::InactivityLimitHoursRange, Msg::SampleIntervalRange}));
  EXPECT_EQ(laterFieldsWhileBoxOpen, QStringList({"0", "", "0", ""}));
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "1");
  EXPECT_EQ(w().form.edtInactivitySampleInterval->text(), "1");
  EXPECT_EQ(w().form.edtInactivityTiltThreshold->text(), "10");
  EXPECT_EQ(w().form.edtFirmwareVersion->text(), "1.2");
}

TEST_F(MainFieldRules, PlaceholdersAreJudgedLikeAnyOtherText) {
  ParameterImage partial = loadedImage();
  partial[SampleIntervalAddress].origin = OriginNone;
  partial[0x2C].origin = OriginNone;
  EXPECT_EQ(w().Document().Show(partial, OriginLoad), SampleIntervalAddress);
  // The limit's "?" meets no unit yet; the interval's "?" reads as 0.
  EXPECT_EQ(dialogs.texts(), texts({Msg::SampleIntervalRange}));
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "?");
  EXPECT_EQ(w().form.edtInactivitySampleInterval->text(), "1");
  EXPECT_EQ(w().form.edtBatteryTestInterval->text(), "?");

  show(loadedImage());
  EXPECT_EQ(w().Document().Show(partial, OriginLoad), SampleIntervalAddress);
  EXPECT_EQ(dialogs.texts(), texts({Msg::InactivityLimitHoursRange, Msg::SampleIntervalRange}));
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "1");
}

TEST_F(MainFieldRules, RadioCodeWarnsButKeepsTheRefusedText) {
  typeInto(w().form.edtRadioCodeNew, "FfFf");
  EXPECT_EQ(dialogs.texts(), texts({Msg::ReservedRadioCode}));
  EXPECT_EQ(w().form.edtRadioCodeNew->text(), "FfFf");
  typeInto(w().form.edtRadioCodeNew, "0000");
  EXPECT_EQ(dialogs.texts(), texts({Msg::ReservedRadioCode}));
  typeInto(w().form.edtRadioCodeNew, "000");
  EXPECT_TRUE(dialogs.messages.empty());
  w().form.edtRadioCodeOld->setText("0000");
  EXPECT_TRUE(dialogs.messages.empty());
}

// --- Unit conversion -----------------------------------------------------------------------

TEST_F(MainFieldRules, ChoosingTheOtherUnitConvertsTheLimit) {
  show(loadedImage(18, 5));  // 90 minutes
  ASSERT_EQ(w().form.edtInactivityLimit->text(), "90");
  QTest::keyClick(w().form.cbbxInactivityLimitUnit, Qt::Key_Down);
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "2");
  EXPECT_EQ(w().LastLimitUnit(), UnitHours);
  EXPECT_EQ(w().form.edtInactivityLimit->typedMaxLength(), 4);

  QTest::keyClick(w().form.cbbxInactivityLimitUnit, Qt::Key_Up);
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "120");
  EXPECT_EQ(w().LastLimitUnit(), UnitMinutes);
  EXPECT_EQ(w().form.edtInactivityLimit->typedMaxLength(), 5);

  w().form.edtInactivityLimit->setText("65535");
  QTest::keyClick(w().form.cbbxInactivityLimitUnit, Qt::Key_Down);
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "1092");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainFieldRules, ConvertedLimitIsJudgedInItsNewUnit) {
  show(loadedImage(12, 5));  // one hour
  typeInto(w().form.edtInactivityLimit, "");
  QTest::keyClick(w().form.cbbxInactivityLimitUnit, Qt::Key_Up);
  EXPECT_EQ(dialogs.texts(), texts({Msg::InactivityLimitMinutesRange}));
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "1");
  EXPECT_EQ(w().LastLimitUnit(), UnitMinutes);
}

TEST_F(MainFieldRules, NoConversionBeforeAUnitIsShownOrForTheUnitInForce) {
  w().form.cbbxInactivityLimitUnit->setCurrentIndex(UnitHours);
  emit w().form.cbbxInactivityLimitUnit->activated(UnitHours);
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "0");
  EXPECT_EQ(w().LastLimitUnit(), NoUnit);

  show(loadedImage(18, 5));  // 90 minutes
  emit w().form.cbbxInactivityLimitUnit->activated(UnitMinutes);
  EXPECT_EQ(w().form.edtInactivityLimit->text(), "90");
  EXPECT_TRUE(dialogs.messages.empty());
}

// --- Check-box dependencies ----------------------------------------------------------------

TEST_F(MainFieldRules, ClicksEnableAndDisableTheDependants) {
  const QList<QWidget*> inactivity = {w().form.edtInactivityLimit, w().form.cbbxInactivityLimitUnit,
                                      w().form.edtInactivityRetransmissionAttempts,
                                      w().form.cbConfig_D5};
  w().form.cbConfig_D0->click();
  for (QWidget* dependant : inactivity)
    EXPECT_FALSE(dependant->isEnabled()) << dependant->objectName().toStdString();
  w().form.cbConfig_D5->click();
  for (QWidget* dependant : inactivity) EXPECT_FALSE(dependant->isEnabled());
  w().form.cbConfig_D0->click();
  for (QWidget* dependant : inactivity) EXPECT_TRUE(dependant->isEnabled());
  EXPECT_TRUE(w().form.edtInactivitySampleInterval->isEnabled());
  EXPECT_FALSE(w().form.edtInactivityTiltThreshold->isEnabled());

  w().form.cbConfig_D3->click();
  EXPECT_FALSE(w().form.edtActivityAlarmInterval->isEnabled());
  w().form.cbConfig_D1->click();
  EXPECT_FALSE(w().form.edtButtonActivationDelay->isEnabled());
  EXPECT_FALSE(w().form.edtDementiaBlockTime->isEnabled());
  w().form.cbRadioTestAlarmActive->click();
  EXPECT_TRUE(w().form.edtRadioTestAlarmInterval->isEnabled());
  EXPECT_TRUE(w().form.cbConfig_D2->isEnabled());
  EXPECT_TRUE(w().form.edtMissedAck->isEnabled());
}

TEST_F(MainFieldRules, CompanionBoxesRerunTheRuleOfTheBoxTheySitBeside) {
  {
    const QSignalBlocker silent(w().form.cbRadioTestAlarmActive);
    w().form.cbRadioTestAlarmActive->setChecked(true);
  }
  ASSERT_FALSE(w().form.edtMissedAck->isEnabled());
  w().form.cbConfig_D4->click();
  EXPECT_TRUE(w().form.edtMissedAck->isEnabled());
  EXPECT_TRUE(w().form.cbConfig_D2->isEnabled());
}

TEST_F(MainFieldRules, ShownCheckStatesSetTheDependants) {
  ParameterImage image = loadedImage();
  image[0x2D].value = 0x00;
  image[0x29].value = 0x01;
  show(image);
  EXPECT_FALSE(w().form.edtActivityAlarmInterval->isEnabled());
  EXPECT_FALSE(w().form.edtButtonActivationDelay->isEnabled());
  EXPECT_FALSE(w().form.edtInactivityLimit->isEnabled());
  EXPECT_FALSE(w().form.cbConfig_D5->isEnabled());
  EXPECT_TRUE(w().form.edtRadioTestAlarmInterval->isEnabled());
  EXPECT_TRUE(w().form.cbConfig_D2->isEnabled());
}

// --- Ctrl+C --------------------------------------------------------------------------------

// Counts how often a modal dialog opens, and closes it again at once so that no test waits.
class OpeningCounter : public QObject {
 public:
  explicit OpeningCounter(QDialog& dialog) : QObject(&dialog), dialog_(dialog) {
    dialog.installEventFilter(this);
  }
  int openings = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      ++openings;
      QTimer::singleShot(0, &dialog_, [this] { dialog_.done(mrOk); });
    }
    return false;
  }

 private:
  QDialog& dialog_;
};

TEST_F(MainFieldRules, CtrlCInTheMainWindowAsksForANewRadioCodeInsteadOfCopying) {
  TfrmChangeCode changeCode(w().Operations(), &w());
  w().AttachDialogs(MainDialogs{nullptr, nullptr, &changeCode, nullptr});
  const OpeningCounter counter(changeCode);
  activate(&w(), w().form.edtBatteryTestInterval);
  QApplication::clipboard()->setText("untouched");
  w().form.edtBatteryTestInterval->selectAll();
  QTest::keyClick(w().form.edtBatteryTestInterval, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(counter.openings, 1);
  EXPECT_EQ(QApplication::clipboard()->text(), "untouched");
}

TEST_F(MainFieldRules, CtrlCInADialogCopies) {
  TfrmChangeCode changeCode(w().Operations(), &w());
  w().AttachDialogs(MainDialogs{nullptr, nullptr, &changeCode, nullptr});
  const OpeningCounter counter(changeCode);
  w().show();
  QDialog dialog(&w());
  auto* edit = new QLineEdit("1A2B", &dialog);
  activate(&dialog, edit);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "1A2B");
  EXPECT_EQ(counter.openings, 0);
}

// --- ConfirmInactivityCount ----------------------------------------------------------------

TEST_F(MainFieldRules, FewerThanTwelveMeasurementsAskBeforeStoring) {
  show(loadedImage(11, 5));  // 55 minutes
  ParameterImage built = loadedImage(11, 5);
  const QString expected =
      FormatText(Msg::FewIdenticalMeasurementsWarning, {"55 Minuten", "5", "11"});

  dialogs.answers = {mrOk, mrCancel};
  EXPECT_TRUE(w().ConfirmInactivityCount(built));
  EXPECT_FALSE(w().ConfirmInactivityCount(built));
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].text, expected);
  EXPECT_EQ(dialogs.messages[0].kind, BoxKind::Information);
  EXPECT_EQ(dialogs.messages[0].buttons, BoxButtons::OkCancel);

  dialogs.clear();
  EXPECT_TRUE(w().ConfirmInactivityCount(loadedImage(12, 5)));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainFieldRules, CountModeAsksWithTheBareLimitEvenWithSensingOff) {
  start({"-SERVICE"});
  w().form.edtInactivityLimit->setText("7");
  w().form.cbConfig_D0->setChecked(false);
  dialogs.answers = {mrCancel};
  EXPECT_FALSE(w().ConfirmInactivityCount(loadedImage(0, 5)));
  EXPECT_EQ(dialogs.texts(),
            QStringList({FormatText(Msg::FewIdenticalMeasurementsWarning,
                                    {"7 ", w().form.edtInactivitySampleInterval->text(), "0"})}));
}
