// Who programmed and for whom, in the window: the technician's name kept in Values.ini, asked at
// a start that finds none, changed under Datei › Einstellungen…, and written into the record lines
// of operations against the simulated OPU.

#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "app/who/TechnicianController.h"
#include "files/ProgrammingRecord.h"
#include "files/VembaIni.h"
#include "support/OperationSamples.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"
#include "support/SimulatedOpu.h"
#include "ui/Texts.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

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

}  // namespace
