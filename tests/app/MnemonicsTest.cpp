// Alt+letter reaches one thing only: no two entries of a menu, and no two controls of a window,
// share a mnemonic. Every menu of the main window and every window the program opens is walked.

#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "app/check/ConnectionCheckWindow.h"
#include "app/port/PortChoiceController.h"
#include "app/safetynet/ComparisonWindow.h"
#include "app/safetynet/RecordWindow.h"
#include "app/who/TechnicianController.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

// The letter after a single '&', lower case; none for a caption without one ("&&" is an '&').
QChar MnemonicOf(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption.at(i) != u'&') continue;
    if (caption.at(i + 1) != u'&') return caption.at(i + 1).toLower();
    ++i;
  }
  return {};
}

// "letter: first caption / second caption" for each letter two captions share.
QStringList SharedMnemonics(const QStringList& captions) {
  std::map<QChar, QString> seen;
  QStringList shared;
  for (const QString& caption : captions) {
    const QChar letter = MnemonicOf(caption);
    if (letter.isNull()) continue;
    const auto [place, isNew] = seen.emplace(letter, caption);
    if (!isNew) shared << QString(letter) + QStringLiteral(": ") + place->second + " / " + caption;
  }
  return shared;
}

QStringList MenuCaptions(const QMenu& menu) {
  QStringList captions;
  for (const QAction* action : menu.actions()) captions << action->text();
  return captions;
}

// The captions of a window's own controls that the user can reach (its menus aside).
QStringList ControlCaptions(const QWidget& window) {
  QStringList captions;
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (widget->window() != &window || !widget->isVisibleTo(&window)) continue;
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
      captions << button->text();
    else if (const auto* label = qobject_cast<const QLabel*>(widget))
      captions << label->text();
    else if (const auto* group = qobject_cast<const QGroupBox*>(widget))
      captions << group->title();
  }
  return captions;
}

class MnemonicsTest : public ::testing::Test {
 protected:
  QTemporaryDir scratch;
  ScriptedDialogs dialogs;
  std::unique_ptr<ProgramWindows> windows =
      CreateProgramWindows(MainEnvironment{&dialogs, ScratchStartup(scratch.path())});
};

TEST_F(MnemonicsTest, NoMenuOfTheMainWindowSharesAMnemonic) {
  TfrmMain& main = *windows->frmMain;
  QStringList barAndWindow = ControlCaptions(main);
  for (const QAction* top : main.menuBar()->actions()) {
    barAndWindow << top->text();
    ASSERT_NE(top->menu(), nullptr);
    EXPECT_EQ(SharedMnemonics(MenuCaptions(*top->menu())), QStringList())
        << top->text().toStdString();
  }
  EXPECT_EQ(SharedMnemonics(barAndWindow), QStringList());
  EXPECT_EQ(SharedMnemonics({"&Datei", "Standard&verzeichnis", "&Vergleichen", "&&Co"}),
            QStringList{"v: Standard&verzeichnis / &Vergleichen"})
      << "the check itself sees a clash";
}

TEST_F(MnemonicsTest, NoWindowOfTheProgramSharesAMnemonic) {
  TfrmMain* main = windows->frmMain.get();
  TfrmConnectionCheck check(OpuLinkOptions{}, SerialPortPlaces{}, main);
  TfrmRecord record(dialogs, main);
  TfrmComparison comparison(main);
  TfrmPortChoice portChoice({}, QString(), QStringLiteral("/dev/pts/1"), main);
  TfrmSettings settings(QStringLiteral("Anna Berg"), true, main);
  const std::vector<const QWidget*> dialogWindows = {windows->frmReceiveRadio.get(),
                                                     windows->frmSelectDirectory.get(),
                                                     windows->frmChangeCode.get(),
                                                     windows->frmAbout.get(),
                                                     &check,
                                                     &record,
                                                     &comparison,
                                                     &portChoice,
                                                     &settings};
  for (const QWidget* window : dialogWindows) {
    EXPECT_EQ(SharedMnemonics(ControlCaptions(*window)), QStringList())
        << window->metaObject()->className();
  }
}

}  // namespace
