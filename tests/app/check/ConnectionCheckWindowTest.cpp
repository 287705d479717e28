// The connection check's dialog: the marks and sentences of every path, the pendant's button,
// and a link that is closed whichever way the check ends.

#include "app/check/ConnectionCheckWindow.h"

#include "image/Texts.h"
#include "support/FakeSysfs.h"
#include "support/SimulatedOpu.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include <grp.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Mark = TfrmConnectionCheck::Mark;
using Step = TfrmConnectionCheck::Step;
using Marks = std::array<Mark, TfrmConnectionCheck::StepCount>;
constexpr Mark P = Mark::Passed;
constexpr Mark F = Mark::Failed;
constexpr Mark N = Mark::NotRun;

Marks MarksOf(const TfrmConnectionCheck& dialog) {
  Marks marks{};
  for (int step = 0; step < TfrmConnectionCheck::StepCount; ++step)
    marks[step] = dialog.MarkOf(Step(step));
  return marks;
}

// As a serial port belongs to dialout: a pseudo-terminal nobody may open, in a group this user is
// not in (only a privileged test may give it one). Returns the sentence's part that names it.
QString ForbidPort(const QString& path) {
  const QByteArray port = path.toLocal8Bit();
  EXPECT_EQ(::chmod(port.constData(), S_IRGRP | S_IWGRP), 0);
  const group* other = ::getgrnam("nogroup");
  if (::geteuid() == 0 && other != nullptr) {
    EXPECT_EQ(::chown(port.constData(), static_cast<uid_t>(-1), other->gr_gid), 0);
  }
  struct stat status {};
  (void)::stat(port.constData(), &status);
  const QString group = QString::fromLocal8Bit(::getgrgid(status.st_gid)->gr_name);
  return MembershipOf(group) == GroupMembership::NotMember
             ? QStringLiteral("„sudo adduser $USER %1“").arg(group)
             : QStringLiteral("„%1“").arg(group);
}

}  // namespace

TEST(TfrmConnectionCheck, EachPathShowsItsMarksAndRemedyAndEndsWithTheLinkClosed) {
  enum Port { Builtin, WrongAdapter, Missing, ByName, Simulated, Busy, Forbidden };
  struct Case {
    const char* name;
    Port port;
    QString version;  // the OPU's; empty: it stays silent
    Marks marks;
    Step told;         // the step whose sentence is checked
    QString sentence;  // part of it; empty: named by the port
  };
  const QString current = "15-1 V1.0.0";
  const Case cases[] = {
      {"no unit", Builtin, current, {F, N, N, N}, Step::StepUnit, Text(Msg::CheckNoUsbPort)},
      {"wrongly named adapter",
       WrongAdapter,
       current,
       {F, N, N, N},
       Step::StepUnit,
       "/ttyUSB0 („FT232R USB UART“)"},
      {"missing named port",
       Missing,
       current,
       {F, N, N, N},
       Step::StepUnit,
       FormatText(Msg::CheckNamedPortMissing, {"/nonexistent/ttyOPU"})},
      {"no permission", Forbidden, current, {P, F, N, N}, Step::StepPort, {}},
      {"busy port", Busy, current, {P, F, N, N}, Step::StepPort, {}},
      {"old firmware",
       Simulated,
       "14-1 V1.0.0",
       {P, P, F, N},
       Step::StepOpu,
       FormatText(Msg::CheckOpuTooOld, {"14-1 V1.0.0", "15-1"})},
      {"silent OPU", Simulated, {}, {P, P, F, N}, Step::StepOpu, Text(Msg::CheckOpuSilent)},
      {"unit found by its USB name",
       ByName,
       current,
       {P, P, P, N},
       Step::StepOpu,
       FormatText(Msg::CheckOpuVersionFine, {current, "15-1"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedOpu opu;
    OpuSimFaults faults;
    faults.version = c.version;
    if (c.version.isEmpty()) faults.silentCommands = "v";
    opu.SetFaults(faults);
    FakeSysfs sysfs;
    sysfs.AddBuiltInPort("ttyS0");
    if (c.port == WrongAdapter) sysfs.AddUsbPort("ttyUSB0", "1-2", "FT232R USB UART\n");
    if (c.port == ByName) {
      sysfs.AddUsbPort("ttyUSB0", "1-2", QByteArray(OpuLink::Description) + '\n');
      sysfs.AddNode("ttyUSB0", opu.PortPath());
    }
    QString port = c.port == Missing ? "/nonexistent/ttyOPU" : QString();
    if (c.port >= Simulated) port = opu.PortPath();
    QString sentence = c.sentence;
    std::unique_ptr<OpuLink> otherProgram;
    if (c.port == Busy) {
      EXPECT_EQ((otherProgram = opu.MakeLink())->Open(), 0);
      sentence = FormatText(Msg::PortBusy, {port});
    }
    // The pseudo-terminal itself: an ordinary user may not look into the test's folders.
    if (c.port == Forbidden) sentence = ForbidPort(port = opu.Server().PortPath());
    TfrmConnectionCheck dialog(OpuLinkOptions{port, {}}, sysfs.places);
    // Permissions do not bind a privileged user; this thread checks files as an ordinary one.
    const bool dropped = c.port == Forbidden && ::geteuid() == 0;
    if (dropped) ::setfsuid(65534);
    dialog.btnRunClick();
    if (dropped) ::setfsuid(0);
    EXPECT_EQ(MarksOf(dialog), c.marks);
    EXPECT_TRUE(dialog.ExplanationOf(c.told).contains(sentence))
        << dialog.ExplanationOf(c.told).toStdString();
    for (int step = c.told + 1; step < Step::StepTransmitter; ++step)
      EXPECT_EQ(dialog.ExplanationOf(Step(step)), Text(Msg::CheckSkippedAfterFailure));
    const bool ready = c.marks[Step::StepOpu] == P;
    EXPECT_EQ(dialog.ExplanationOf(Step::StepTransmitter),
              Text(ready ? Msg::CheckClickTestPendant : Msg::CheckNeedsEarlierSteps));
    EXPECT_EQ(dialog.btnTransmitter->isEnabled(), ready);
    EXPECT_FALSE(dialog.LinkOpen());
    EXPECT_TRUE(opu.Commands() == QStringList() || opu.Commands() == QStringList{"v"});
  }
}

TEST(TfrmConnectionCheck, SenderTestenShowsThePendantHeardAndEscapeEndsTheWaitCleanly) {
  struct Case {
    const char* name;
    QString productType;  // empty: no button pressed, and the user presses Escape
    Mark mark;
    Msg::Id text;
  };
  const Case cases[] = {
      {"U-KOVA", "07", P, Msg::CheckPendantHeard},
      {"another product", "05", F, Msg::CheckOtherProductType},
      {"Escape while waiting", {}, N, Msg::CheckClickTestPendant},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedOpu opu;
    OpuSimFaults faults;
    faults.productType = c.productType;
    opu.SetFaults(faults);
    if (c.productType.isEmpty()) opu.SetButtonDelay(OpuSimulator::ManualButton);
    const ImageBytes memory = opu.Memory();
    TfrmConnectionCheck dialog(opu.LinkOptions());
    dialog.SetPollIntervalMs(10);
    dialog.btnRunClick();
    QTest::mouseClick(dialog.btnTransmitter, Qt::LeftButton);
    EXPECT_FALSE(dialog.btnRun->isEnabled());
    QTest::qWait(50);
    if (c.productType.isEmpty()) {
      EXPECT_EQ(dialog.MarkOf(Step::StepTransmitter), Mark::Running);
      EXPECT_TRUE(dialog.LinkOpen());
      QTest::keyClick(&dialog, Qt::Key_Escape);
    }
    for (int tick = 0; tick < 500 && dialog.WaitingForButton(); ++tick) QTest::qWait(10);
    EXPECT_EQ(dialog.MarkOf(Step::StepTransmitter), c.mark);
    EXPECT_EQ(dialog.ExplanationOf(Step::StepTransmitter),
              FormatText(c.text, {opu.RadioCode(), c.productType}));
    EXPECT_FALSE(dialog.LinkOpen());
    EXPECT_TRUE(dialog.btnRun->isEnabled());
    // Nothing is ever written: the OPU tells its version and listens, nothing else.
    for (const QString& command : opu.Commands())
      EXPECT_TRUE(QStringList({"v", "aFFFF2E", "A", "s0"}).contains(command))
          << qPrintable(command);
    EXPECT_EQ(opu.Commands().back(), "s0");
    EXPECT_EQ(opu.Memory(), memory);
  }
}
