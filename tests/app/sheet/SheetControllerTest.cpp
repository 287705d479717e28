// The configuration sheet of the main window, printed and saved as a PDF, read back with the
// PDF tools a technician's machine has.

#include "app/sheet/SheetController.h"

#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "files/ConfigurationSheet.h"
#include "image/Texts.h"
#include "support/FileBytes.h"
#include "support/OperationSamples.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"
#include "support/SimulatedOpu.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

QString PdfText(const QString& path) {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  if (program.isEmpty()) {
    ADD_FAILURE() << "pdftotext is missing: scripts/install-deps.sh installs it";
    return {};
  }
  QProcess process;
  process.start(program, {QStringLiteral("-layout"), path, QStringLiteral("-")});
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Where the page's first word starts, in points from the paper's top left corner.
QPointF FirstWordCorner(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
  process.waitForFinished(30000);
  static const QRegularExpression word(
      QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\""));
  const QRegularExpressionMatch first =
      word.match(QString::fromUtf8(process.readAllStandardOutput()));
  return first.hasMatch() ? QPointF(first.captured(1).toDouble(), first.captured(2).toDouble())
                          : QPointF(-1, -1);
}

// The caption and its value on one line of the page.
bool HasRow(const QString& text, const QString& caption, const QString& value) {
  return text.contains(QRegularExpression(QRegularExpression::escape(caption.trimmed()) +
                                          QStringLiteral(" +") +
                                          QRegularExpression::escape(value)));
}

class SheetControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString templates = QStringLiteral(UKOVA_TEMPLATES_DIR);
    for (const QString& name : {QStringLiteral("Values.i"), QStringLiteral("Default.b")})
      ASSERT_TRUE(QFile::copy(templates + name, dataDir.filePath(name)));
    window = std::make_unique<TfrmMain>(
        MainEnvironment{&dialogs, ScratchStartup(dataDir.path(), {filesDir.path()})});
    dialogs.clear();
  }

  QString savePdf(const QString& answer) {
    dialogs.saveAnswers.push_back(answer);
    window->Sheet().mnuFileSavePdf->trigger();
    return PdfText(filesDir.filePath(QStringLiteral("blatt.pdf")));
  }

  QTemporaryDir dataDir;
  QTemporaryDir filesDir;
  ScriptedDialogs dialogs;
  std::unique_ptr<TfrmMain> window;
};

TEST_F(SheetControllerTest, ThePdfShowsEveryCaptionAndValueOfTheWindow) {
  window->form.edtRadioCodeNew->setText(QStringLiteral("BEEF"));
  const QString text = savePdf(filesDir.filePath(QStringLiteral("blatt")));
  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_EQ(window->StatusText(), FormatText(Msg::SheetSaved, {QStringLiteral("blatt.pdf")}));
  ASSERT_EQ(dialogs.saveRequests.size(), 1U);
  EXPECT_EQ(dialogs.saveRequests.back().filterPattern, QStringLiteral("*.pdf"));

  for (const QGroupBox* group : window->findChildren<QGroupBox*>())
    EXPECT_TRUE(text.contains(group->title())) << group->title().toStdString();
  // The configuration's captions: the status and the record's strip are none, nor is a label
  // never shown, which names a control for screen readers only.
  for (const QLabel* label : window->centralWidget()->findChildren<QLabel*>()) {
    if (label->isHidden()) continue;
    EXPECT_TRUE(text.contains(label->text().trimmed())) << label->text().toStdString();
  }
  for (const FieldEdit* edit : window->findChildren<FieldEdit*>())
    EXPECT_TRUE(text.contains(edit->text())) << edit->objectName().toStdString();
  EXPECT_TRUE(HasRow(text, Text(Msg::CaptionBatteryTestInterval),
                     window->form.edtBatteryTestInterval->text()));
  EXPECT_TRUE(HasRow(text, Text(Msg::CaptionInactivitySenseActive),
                     Text(Msg::Yes)));  // inactivity sensing on
  EXPECT_TRUE(
      HasRow(text, Text(Msg::CaptionRadioTestAlarmActive), Text(Msg::No)));  // radio test alarm off
  EXPECT_TRUE(HasRow(text, Text(Msg::CaptionInactivityLimit),
                     window->form.edtInactivityLimit->text() + u' ' +
                         window->form.cbbxInactivityLimitUnit->currentText()));
  EXPECT_TRUE(HasRow(
      text, Text(Msg::CaptionRadioCode) + QStringLiteral(" – ") + Text(Msg::CaptionNew), "BEEF"));
  EXPECT_TRUE(HasRow(text, Text(Msg::SheetSource), Text(Msg::SheetSourceDefault)));
  EXPECT_TRUE(text.contains(
      FormatText(Msg::ProgramAndVersion, {Text(Msg::ProgramTitle), GetProgramVersion()})));
}

TEST_F(SheetControllerTest, AnExistingPdfIsReplacedOnlyAfterYes) {
  const QString target = filesDir.filePath(QStringLiteral("blatt.pdf"));
  writeBytes(target, "alt");
  dialogs.answers = {mrNo};
  savePdf(target);
  EXPECT_EQ(readBytes(target), "alt");
  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::FileExistsOverwrite)));

  dialogs.answers = {mrYes};
  EXPECT_TRUE(savePdf(target).contains(Text(Msg::SheetTitle)));
}

TEST_F(SheetControllerTest, APdfThatCannotBeWrittenIsReported) {
  savePdf(filesDir.filePath(QStringLiteral("fehlt/blatt.pdf")));
  ASSERT_EQ(dialogs.messages.size(), 1U);
  EXPECT_EQ(dialogs.messages.back().kind, BoxKind::Error);
  EXPECT_TRUE(
      dialogs.messages.back().text.startsWith(Text(Msg::SheetNotSaved).section(u'\n', 0, 0)));
}

TEST_F(SheetControllerTest, PrintingPaintsTheSameSheetOnThePrinter) {
  const QString output = filesDir.filePath(QStringLiteral("gedruckt.pdf"));
  QMarginsF offered;
  window->Sheet().SetPrinterChooser([output, &offered](QPrinter& printer, QWidget*) {
    offered = printer.pageLayout().margins(QPageLayout::Millimeter);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(output);
    return true;
  });
  window->Sheet().mnuFilePrint->trigger();
  EXPECT_EQ(window->StatusText(), Text(Msg::SheetPrinted));
  // The printer is offered the PDF's margins.
  EXPECT_EQ(offered, SheetPageLayout().margins(QPageLayout::Millimeter));
  EXPECT_TRUE(HasRow(PdfText(output), Text(Msg::CaptionBatteryTestInterval),
                     window->form.edtBatteryTestInterval->text()));
  // On paper the sheet starts where it does in the saved PDF: 18 mm (51 points) from the edges.
  savePdf(filesDir.filePath(QStringLiteral("blatt")));
  const QPointF printed = FirstWordCorner(output);
  const QPointF saved = FirstWordCorner(filesDir.filePath(QStringLiteral("blatt.pdf")));
  EXPECT_NEAR(printed.x(), saved.x(), 0.5);
  EXPECT_NEAR(printed.y(), saved.y(), 0.5);
  EXPECT_NEAR(printed.x(), 18 / 25.4 * 72, 1.0);

  window->Sheet().SetPrinterChooser([](QPrinter&, QWidget*) { return false; });
  window->SetStatusText({});
  window->Sheet().mnuFilePrint->trigger();
  EXPECT_TRUE(window->StatusText().isEmpty());
  EXPECT_THAT(dialogs.texts(), IsEmpty());
}

// Against the simulated OPU: a sheet made after the changed configuration was written says so,
// rather than that the pendant never had its values.
TEST(SheetSourceTest, ARefreshedPendantIsNamedAsWrittenAfterItsRead) {
  SimulatedOpu opu;
  ASSERT_TRUE(opu.IsServing());
  opu.SetMemory(transmitterMemory());
  ScriptedDialogs dialogs;
  QTemporaryDir scratch;
  const std::unique_ptr<ProgramWindows> windows = CreateProgramWindows(
      MainEnvironment{&dialogs, ScratchStartup(scratch.path()), opu.LinkOptions()});
  TfrmMain& w = *windows->frmMain;
  w.Operations().SetPollIntervalMs(TestPollIntervalMs);
  const auto source = [&w] { return w.Sheet().ConfigurationSheet().header[1].value; };

  w.form.mnuCommReadFromDevice->trigger();
  ASSERT_EQ(w.StatusText(), Text(Msg::ReadFinished));
  const QString readAt = SheetTimeText(w.ReadTime);
  const struct {
    const char* step;
    std::function<void()> act;
    Msg::Id source;
  } steps[] = {
      {"read", [] {}, Msg::SheetSourcePendant},
      {"changed", [&w] { w.form.edtBatteryTestInterval->setText("36"); },
       Msg::SheetSourcePendantChanged},
      {"written (Ja to the changes)",
       [&w] {
         w.form.mnuCommWriteToDevice->trigger();
         EXPECT_EQ(w.StatusText(), Text(Msg::ConfigurationUpdated));
       },
       Msg::SheetSourcePendantWritten},
      {"changed again", [&w] { w.form.edtBatteryTestInterval->setText("48"); },
       Msg::SheetSourcePendantChanged},
  };
  for (const auto& step : steps) {
    step.act();
    EXPECT_EQ(source(), FormatText(step.source, {readAt})) << step.step;
  }
}

}  // namespace
