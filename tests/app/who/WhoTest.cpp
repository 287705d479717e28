// Who programmed and for whom, in the window: the technician's name kept in Values.ini, asked at
// a start that finds none, changed under Datei › Einstellungen…; the site and resident typed in the
// strip or known of the pendant; all written into the record lines of operations against the
// simulated OPU.

#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "app/who/RecipientController.h"
#include "app/who/TechnicianController.h"
#include "files/AssignmentListFile.h"
#include "files/ProgrammingRecord.h"
#include "files/VembaIni.h"
#include "image/Texts.h"
#include "support/OperationSamples.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"
#include "support/SimulatedOpu.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>

namespace {

class WhoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(opu.IsServing());
    opu.SetMemory(transmitterMemory());
    start();
  }
  void start() {
    windows = CreateProgramWindows(
        MainEnvironment{&dialogs, ScratchStartup(scratch.path()), opu.LinkOptions()});
    w().Operations().SetPollIntervalMs(TestPollIntervalMs);
  }

  TfrmMain& w() { return *windows->frmMain; }
  TechnicianController& technician() { return w().Technician(); }
  std::vector<RecordEntry> record() {
    return ReadRecordFile(w().DataFolder + RecordFileName).value();
  }

  SimulatedOpu opu;
  ScriptedDialogs dialogs;
  QTemporaryDir scratch;
  std::unique_ptr<ProgramWindows> windows;
};

TEST_F(WhoTest, TheStartAsksForTheTechnicianOnceAndEveryLineNamesHim) {
  technician().AskIfUnset();
  TfrmSettings* asked = technician().frmSettings;
  ASSERT_NE(asked, nullptr);
  EXPECT_TRUE(asked->isModal()) << "the window waits for the answer";
  EXPECT_NE(asked->findChild<QLabel*>("lblFirstAsk"), nullptr);
  QTest::keyClicks(asked->edtTechnician, QStringLiteral("  Anna   Berg "));
  asked->accept();
  EXPECT_EQ(technician().frmSettings, nullptr);
  EXPECT_EQ(KeptTechnicianName(w().VembaIni), "Anna Berg");
  EXPECT_EQ(technician().lblTechnician->text(), FormatText(Msg::TechnicianShown, {"Anna Berg"}));

  w().form.mnuCommReadFromDevice->trigger();
  ASSERT_EQ(w().StatusText(), Text(Msg::ReadFinished));
  EXPECT_EQ(record().back().technician, "Anna Berg");

  // Kept: the next start asks nothing; Datei › Einstellungen… shows the name, Abbruch keeps it.
  start();
  technician().AskIfUnset();
  EXPECT_EQ(technician().frmSettings, nullptr);
  technician().mnuFileSettings->trigger();
  TfrmSettings* settings = technician().frmSettings;
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(settings->findChild<QLabel*>("lblFirstAsk"), nullptr);
  EXPECT_EQ(settings->edtTechnician->text(), "Anna Berg");
  settings->edtTechnician->setText(QStringLiteral("Ben Kurz"));
  settings->reject();
  EXPECT_EQ(technician().Name(), "Anna Berg");
}

TEST_F(WhoTest, TheStripNamesTheNextLineAndAfterwardsWhatIsKnownOfThePendant) {
  RecipientController& strip = w().Recipients();
  const auto read = [&] {
    w().form.mnuCommReadFromDevice->trigger();
    EXPECT_EQ(w().StatusText(), Text(Msg::ReadFinished));
    const RecordEntry line = record().back();
    return QStringList{line.site, line.resident};
  };
  QTest::keyClicks(strip.edtSite, QStringLiteral("Haus Linde"));
  QTest::keyClicks(strip.edtResident, QStringLiteral("Zi 12"));
  EXPECT_EQ(strip.lblRecipientFor->text(), Text(Msg::RecipientForNext));
  EXPECT_EQ(read(), (QStringList{"Haus Linde", "Zi 12"}));
  const QString code = record().back().codeAfter;
  EXPECT_EQ(strip.lblRecipientFor->text(), FormatText(Msg::RecipientForCode, {code}));

  // Another day: the pendant's code brings back its site and resident.
  start();
  EXPECT_TRUE(w().Recipients().edtSite->text().isEmpty());
  EXPECT_EQ(read(), (QStringList{"Haus Linde", "Zi 12"}));
  EXPECT_EQ(w().Recipients().edtResident->text(), "Zi 12");

  // An assignment list open in the series window names it first.
  const QString list = scratch.filePath(QStringLiteral("liste.csv"));
  ASSERT_TRUE(WriteAssignmentListFile(list, {{code, "Haus Eiche", "Zi 3", ""}}));
  dialogs.openAnswers.push_back(list);
  w().findChild<QAction*>(QStringLiteral("mnuCommSeries"))->trigger();
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->objectName() == "frmSeries")
      window->findChild<QPushButton*>("btnListOpen")->click();
  EXPECT_EQ(read(), (QStringList{"Haus Eiche", "Zi 3"}));
  EXPECT_TRUE(w().Recipients().tbrRecipient->isVisibleTo(&w()));
}

}  // namespace
