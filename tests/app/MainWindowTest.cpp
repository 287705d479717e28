#include "app/Main.h"
#include "image/Texts.h"
#include "support/SampleImage.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// Each window starts in a scratch folder of its own, without a factory image.
std::unique_ptr<TfrmMain> startWindow(ScriptedDialogs& dialogs, QStringList arguments = {}) {
  static std::vector<std::unique_ptr<QTemporaryDir>> scratch;
  scratch.push_back(std::make_unique<QTemporaryDir>());
  auto window = std::make_unique<TfrmMain>(
      MainEnvironment{&dialogs, ScratchStartup(scratch.back()->path(), arguments)});
  dialogs.clear();
  return window;
}

// Every caption the user can see in the window and its menu.
QStringList visibleCaptions(const TfrmMain& window) {
  QStringList captions;
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    if (label->isVisibleTo(&window) && !window.form.sbStatus->isAncestorOf(label)) {
      captions << label->text();
    }
  }
  for (const QGroupBox* group : window.findChildren<QGroupBox*>()) captions << group->title();
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (button->isVisibleTo(&window) && !button->text().isEmpty()) captions << button->text();
  }
  for (const QAction* item : window.menuBar()->actions()) {
    captions << item->text();
    for (const QAction* action : item->menu()->actions()) {
      if (!action->isSeparator()) captions << action->text();
    }
  }
  return captions;
}

}  // namespace

TEST(MainWindow, NoEnglishDesignCaptionIsVisibleAfterStartUp) {
  ScriptedDialogs dialogs;
  auto window = startWindow(dialogs);
  const QStringList captions = visibleCaptions(*window);
  ASSERT_GT(captions.size(), 45);
  const QRegularExpression english(
      QStringLiteral("\\b(File|Open|Save|Exit|Read|Write|Help|About|Radio|Alarm|active|interval|"
                     "Number|Battery|Button|Inactivity|Production|Version|Type|Hours|Minutes)\\b"));
  for (const QString& caption : captions) {
    EXPECT_FALSE(english.match(caption).hasMatch()) << caption.toStdString();
    EXPECT_FALSE(caption.isEmpty());
  }
  EXPECT_TRUE(
      captions.contains(Text(Msg::CaptionRetransmissionAttempts)));  // keeps its trailing space
  EXPECT_EQ(window->form.btnGetVembaCode->text(), "GetCode");
  EXPECT_FALSE(window->form.btnGetVembaCode->isVisibleTo(window.get()));
  EXPECT_EQ(window->windowTitle(), "U-KOVA Programmer");
}

TEST(MainWindow, UnitSelectorListsMinutesAndHoursWithNothingSelected) {
  ScriptedDialogs dialogs;
  auto window = startWindow(dialogs);
  ASSERT_EQ(window->form.cbbxInactivityLimitUnit->count(), 2);
  EXPECT_EQ(window->form.cbbxInactivityLimitUnit->itemText(0), "Minuten");
  EXPECT_EQ(window->form.cbbxInactivityLimitUnit->itemText(1), "Stunden");
  EXPECT_EQ(window->form.cbbxInactivityLimitUnit->currentIndex(), -1);
  EXPECT_EQ(window->LastLimitUnit(), NoUnit);
}

TEST(MainWindow, ServiceSwitchSetsTheLimitRow) {
  ScriptedDialogs dialogs;
  auto normal = startWindow(dialogs);
  EXPECT_EQ(normal->form.lblInactivityLimit->text(), "Zeitschranke für Inaktivität");
  EXPECT_EQ(normal->InactivityLimitMode(), LimitAsTime);
  EXPECT_EQ(normal->form.edtInactivityLimit->typedMaxLength(), 4);
  EXPECT_TRUE(normal->form.cbbxInactivityLimitUnit->isEnabled());
  EXPECT_FALSE(normal->form.edtInactivityTiltThreshold->isEnabled());
  EXPECT_TRUE(normal->form.edtInactivitySampleInterval->isEnabled());

  for (const QString& switchText : {QStringLiteral("-SERVICE"), QStringLiteral("-service")}) {
    auto service = startWindow(dialogs, {switchText});
    EXPECT_EQ(service->form.lblInactivityLimit->text(), "Zählerstand für Inaktivitätsalarm");
    EXPECT_EQ(service->InactivityLimitMode(), LimitAsCount);
    EXPECT_EQ(service->form.edtInactivityLimit->typedMaxLength(), 5);
    EXPECT_FALSE(service->form.cbbxInactivityLimitUnit->isEnabled());
    EXPECT_TRUE(service->form.edtInactivityTiltThreshold->isEnabled());
  }
}

TEST(MainWindow, FormHasItsFixedSizeAndMenuShortcuts) {
  ScriptedDialogs dialogs;
  auto window = startWindow(dialogs);
  const auto* client = window->findChild<QWidget*>(QStringLiteral("clientArea"));
  EXPECT_EQ(client->width(), 890);
  EXPECT_EQ(client->height() + window->form.sbStatus->height(), 572);
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_EQ(window->form.mnuCommChangeIdCode->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
  EXPECT_EQ(window->form.mnuCommReadFromDevice->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
  EXPECT_EQ(window->form.mnuCommWriteToDevice->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_W));
  EXPECT_TRUE(window->form.mnuDelimiter1->isSeparator());
  EXPECT_TRUE(window->form.N1->isSeparator());
}

TEST(MainWindow, ShowImageFillsFieldsAndBuildImageReadsThemBack) {
  ScriptedDialogs dialogs;
  auto window = startWindow(dialogs);
  const ImageChanges changes = {
      {RadioCodeAddress, 0x1A},
      {RadioCodeAddress + 1, 0x2B},
      {0x33, 0x35},                      // 3 short and 5 long transmissions
      {InactivityCountAddress + 1, 13},  // 65 minutes of 5-minute samples
      {0x36, 25},
      {0x7F, 0x42},  // 0x7F is owned by no field
  };
  const ImageBytes bytes = SampleImageBytes(changes);
  const ParameterImage image = SampleImage(OriginLoad, changes);

  EXPECT_EQ(window->Document().Show(image, OriginLoad), ImageOk);
  EXPECT_EQ(window->form.edtRadioCodeOld->text(), "1A2B");
  EXPECT_EQ(window->form.edtNoShortTx->text(), "3");
  EXPECT_EQ(window->form.edtNoLongTx->text(), "5");
  EXPECT_EQ(window->form.edtInactivityLimit->text(), "65");
  EXPECT_EQ(window->form.cbbxInactivityLimitUnit->currentIndex(), UnitMinutes);
  EXPECT_EQ(window->LastLimitUnit(), UnitMinutes);
  EXPECT_EQ(window->form.edtInactivityLimit->typedMaxLength(), 5);
  EXPECT_EQ(window->form.edtFirmwareType->text(), "U-KOVA");
  EXPECT_TRUE(window->form.cbConfig_D3->isChecked());
  EXPECT_FALSE(window->form.cbConfig_D2->isChecked());

  ParameterImage rebuilt = image;
  EXPECT_EQ(window->Document().Build(rebuilt, OriginSave), ImageOk);
  EXPECT_EQ(VembaData::ExtractImageBytes(rebuilt), bytes);
  EXPECT_EQ(rebuilt[SampleIntervalAddress].origin, OriginSave);
  EXPECT_EQ(rebuilt[0x7F].origin, OriginLoad);
}

// The document follows each kind of control as the user changes it, and a write, the sheet or
// the File commands read what the window shows.
TEST(MainWindow, EveryKindOfControlIsBoundToTheDocument) {
  ScriptedDialogs dialogs;
  auto window = startWindow(dialogs);
  const ConfigurationDocument& document = window->Document();
  QTest::keyClicks(window->form.edtNoShortTx, "2");
  EXPECT_EQ(document.FieldText(Field::edtNoShortTx), window->form.edtNoShortTx->text());
  window->form.cbConfig_D2->click();
  EXPECT_EQ(document.Values().checked(Field::cbConfig_D2), window->form.cbConfig_D2->isChecked());
  window->form.cbbxInactivityLimitUnit->setCurrentIndex(UnitHours);
  EXPECT_EQ(document.Values().selectedUnit, UnitHours);
  EXPECT_EQ(document.FieldText(Field::edtInactivityLimit), window->form.edtInactivityLimit->text());
}

TEST(MainWindow, ConfirmInactivityCountAsksBelowTwelve) {
  ScriptedDialogs dialogs;
  auto window = startWindow(dialogs);
  ParameterImage image{};
  image[0x35].value = 12;
  EXPECT_TRUE(window->ConfirmInactivityCount(image));
  EXPECT_TRUE(dialogs.messages.empty());

  window->form.edtInactivityLimit->setText("30");
  window->form.cbbxInactivityLimitUnit->setCurrentIndex(UnitMinutes);
  window->form.edtInactivitySampleInterval->setText("3");
  image[0x35].value = 10;
  dialogs.answers = {mrCancel, mrOk};
  EXPECT_FALSE(window->ConfirmInactivityCount(image));
  EXPECT_TRUE(window->ConfirmInactivityCount(image));
  ASSERT_EQ(dialogs.messages.size(), 2U);
  EXPECT_EQ(dialogs.messages[0].kind, BoxKind::Information);
  EXPECT_EQ(dialogs.messages[0].buttons, BoxButtons::OkCancel);
  EXPECT_EQ(dialogs.messages[0].text,
            FormatText(Msg::FewIdenticalMeasurementsWarning, {"30 Minuten", "3", "10"}));
}

TEST(MainWindow, StatusTextStaysWhileTheMenuIsBrowsed) {
  ScriptedDialogs dialogs;
  auto window = startWindow(dialogs);
  window->SetStatusText(Text(Msg::ReadFinished));
  // What a menu does for the item under the mouse: none of ours has a tip of its own.
  window->form.mnuFileNew->showStatusText(window.get());
  window->form.mnuCommReadFromDevice->showStatusText(window->menuBar());
  EXPECT_EQ(window->StatusText(), Text(Msg::ReadFinished));
  window->SetStatusText({});
  EXPECT_EQ(window->StatusText(), QString());
}

TEST(MainWindow, OnASmallScreenTheContentScrollsInsideAWindowThatFits) {
  ScriptedDialogs dialogs;
  auto window = startWindow(dialogs);
  window->show();
  const QRect available = window->screen()->availableGeometry();
  ASSERT_LT(available.width(), 890);  // Qt's offscreen screen is 800 pixels wide
  EXPECT_TRUE(available.contains(window->frameGeometry()));
  EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("clientArea"))->size(), QSize(890, 553));
  const auto* scroller = window->findChild<QScrollArea*>(QStringLiteral("scbClientArea"));
  EXPECT_GT(scroller->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
}

TEST(MainWindow, RowLabelsNameTheirFieldsAndClickTheirBoxes) {
  ScriptedDialogs dialogs;
  auto window = startWindow(dialogs);
  for (const QWidget* control : window->findChildren<QLineEdit*>()) {
    EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
  }
  for (const QWidget* control : window->findChildren<QCheckBox*>()) {
    EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
  }
  EXPECT_EQ(window->form.edtNoShortTx->accessibleName(), Text(Msg::CaptionShortTransmissions));
  EXPECT_EQ(window->form.edtRadioCodeNew->accessibleName(),
            Text(Msg::CaptionRadioCode) + u' ' + Text(Msg::CaptionNew));
  // The label's click runs the box's rule as a click on the box does: the interval follows.
  ASSERT_FALSE(window->form.edtRadioTestAlarmInterval->isEnabled());
  QTest::mouseClick(window->form.fieldRows.at(Field::cbRadioTestAlarmActive).label, Qt::LeftButton);
  EXPECT_TRUE(window->form.cbRadioTestAlarmActive->isChecked());
  EXPECT_TRUE(window->form.edtRadioTestAlarmInterval->isEnabled());
}

TEST(MainWindow, ShownWindowIsCentredOnItsScreenWhateverItsPosition) {
  ScriptedDialogs dialogs;
  auto window = startWindow(dialogs);
  window->move(300, 200);
  window->show();
  const QRect room = window->screen()->availableGeometry();
  const QRect frame = window->frameGeometry();
  // Centred across; down the screen, room is left for a title bar the desktop has yet to add.
  EXPECT_EQ(frame.left() - room.left(), (room.width() - frame.width()) / 2);
  EXPECT_GE(frame.top() - room.top(), (room.height() - frame.height()) / 2);
  EXPECT_TRUE(room.contains(frame));
}

TEST(MainWindow, ATraceFileThatCannotBeWrittenIsSaidAtStart) {
  QTemporaryDir scratch;
  const QString unwritable = scratch.filePath(QStringLiteral("missing/wire.txt"));
  const QString fine = scratch.filePath(QStringLiteral("wire.txt"));
  for (const QString& trace : {unwritable, fine}) {
    ScriptedDialogs dialogs;
    const TfrmMain window(MainEnvironment{&dialogs, ScratchStartup(scratch.path()),
                                          OpuLinkOptions{QString(), trace}});
    const bool said = std::any_of(
        dialogs.messages.begin(), dialogs.messages.end(), [&](const ScriptedDialogs::Shown& shown) {
          return shown.kind == BoxKind::Error && shown.text.contains(trace);
        });
    EXPECT_EQ(said, trace == unwritable) << trace.toStdString();
  }
}

TEST(MainWindow, FocusStartsOnTheFirstFieldAndTabNeverReachesTheHiddenButton) {
  ScriptedDialogs dialogs;
  auto window = startWindow(dialogs);
  window->show();
  QApplication::setActiveWindow(window.get());
  EXPECT_EQ(window->focusWidget(), window->form.edtRadioCodeNew);
  const QWidget* hidden = window->form.btnGetVembaCode;
  for (QWidget* step = window->form.edtRadioCodeNew->nextInFocusChain();
       step != window->form.edtRadioCodeNew; step = step->nextInFocusChain()) {
    ASSERT_NE(step, hidden) << "in the tab chain";
  }
  EXPECT_TRUE(hidden->isWindow()) << "not among the form's controls a screen reader lists";
}
