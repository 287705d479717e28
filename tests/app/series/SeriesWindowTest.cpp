// The series window bound to a series against the simulated OPU: what its large lines, its
// counter, its table and its summary say while the pendants are programmed and afterwards.

#include "app/series/SeriesWindow.h"

#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "app/Receiveradio.h"
#include "app/series/SeriesController.h"
#include "image/Texts.h"
#include "support/OperationSamples.h"
#include "support/QtPrinters.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"
#include "support/SimulatedOpu.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(SeriesWindow, TwoPendantsShowTheirPlaceWhileWorkedOnAndTheirNewCodesAfterwards) {
  SimulatedOpu opu;
  ASSERT_TRUE(opu.IsServing());
  opu.SetMemory(transmitterMemory());
  opu.QueuePendants({OpuSimulator::NewPendant(1)});
  ScriptedDialogs dialogs;
  QTemporaryDir scratch;
  const std::unique_ptr<ProgramWindows> windows = CreateProgramWindows(
      MainEnvironment{&dialogs, ScratchStartup(scratch.path()), opu.LinkOptions()});
  TfrmMain& main = *windows->frmMain;
  ParameterImage shown{};
  VembaData::LoadImageBytes(shown, shownConfiguration(), OriginLoad);
  ASSERT_EQ(main.Document().Show(shown, OriginLoad), ImageOk);
  dialogs.clear();

  SeriesController& series = main.Series();
  TfrmSeries& w = series.Window();
  series.mnuCommSeries->trigger();
  w.spnExpected->setValue(2);
  w.rbSequence->setChecked(true);
  w.edtSequenceStart->setText(QStringLiteral("B001"));
  // What the window says while the waiting dialog asks for a pendant's button.
  QStringList whileWaiting;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&] {
    const QString seen =
        w.lblCounter->text() + u'|' + w.lblResultLine->text() + u'|' + w.lblPendant->text();
    if (windows->frmReceiveRadio->isVisible() && !whileWaiting.contains(seen)) whileWaiting << seen;
  });
  look.start(5);
  w.btnStart->click();
  look.stop();

  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_THAT(whileWaiting, ElementsAre("1 von 2||Nächster U-KOVA erhält: B001",
                                        "1 von 2||U-KOVA 1A2B (Produkttyp 07) erhält B001",
                                        "2 von 2||Nächster U-KOVA erhält: B002",
                                        "2 von 2||U-KOVA 7001 (Produkttyp 07) erhält B002"));
  // The last pendant is named with the code it now carries on its line; the count stands once.
  EXPECT_EQ(w.lblPendant->text(), Text(Msg::SeriesFinished));
  EXPECT_EQ(w.lblResultLine->text(), FormatText(Msg::SeriesUnitPassed, {"B002", "2 von 2"}));
  EXPECT_EQ(w.lblCounter->text(), QString());
  EXPECT_EQ(w.lblSummary->text(), SeriesCountsText(SeriesCounts{2, 0, 0, 0, 2}));
  const SeriesSummaryContent summary = series.Summary();
  ASSERT_EQ(summary.rows.size(), 2U);
  EXPECT_EQ(summary.rows[1], QStringList({"2", "B002", "", Text(Msg::SeriesResultPassed), ""}));
  ASSERT_EQ(w.tblUnits->rowCount(), 2);
  EXPECT_EQ(w.tblUnits->item(0, 1)->text(), "B001");
  dialogs.saveAnswers.push_back(scratch.filePath(QStringLiteral("serie")));
  w.btnSaveSummaryPdf->click();
  EXPECT_EQ(w.lblStatus->text(), FormatText(Msg::SeriesSummarySaved, {"serie.pdf"}));
}

// The series window is made when the menu first asks for it, not at start; the menu entry then
// shows that one window every time.
TEST(SeriesWindow, IsMadeByTheMenuEntryOnceAndNotAtStart) {
  ScriptedDialogs dialogs;
  QTemporaryDir scratch;
  const std::unique_ptr<ProgramWindows> windows = CreateProgramWindows(
      MainEnvironment{&dialogs, ScratchStartup(scratch.path()), OpuLinkOptions{}});
  const auto seriesWindows = [] {
    QList<QWidget*> found;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->objectName() == "frmSeries") found << window;
    return found;
  };
  dialogs.clear();
  SeriesController& series = windows->frmMain->Series();
  EXPECT_TRUE(seriesWindows().isEmpty());
  EXPECT_TRUE(series.ListEntries().empty());
  EXPECT_TRUE(seriesWindows().isEmpty());

  series.mnuCommSeries->trigger();
  ASSERT_EQ(seriesWindows().size(), 1);
  EXPECT_EQ(seriesWindows().front(), &series.Window());
  EXPECT_TRUE(series.Window().isVisible());
  series.Window().hide();
  series.mnuCommSeries->trigger();
  EXPECT_EQ(seriesWindows().size(), 1);
  EXPECT_TRUE(series.Window().isVisible());
  EXPECT_THAT(dialogs.texts(), IsEmpty());
}

}  // namespace
