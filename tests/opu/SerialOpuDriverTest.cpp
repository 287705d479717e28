#include "link/opu/SerialOpuDriver.h"

#include "link/opu/OpuLink.h"
#include "support/FakeSysfs.h"
#include "support/QtPrinters.h"
#include "support/SimulatedOpu.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <grp.h>
#include <sys/fsuid.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

using ::testing::IsEmpty;

const QString Description = QString::fromLatin1(OpuLink::Description);

}  // namespace

TEST(SerialOpuDriverTest, FindsThePortsByTheirUsbProductString) {
  FakeSysfs sysfs;
  sysfs.AddBuiltInPort("ttyS0");
  sysfs.AddUsbPort("ttyUSB0", "1-2", "FT232R USB UART\n");
  sysfs.AddUsbPort("ttyUSB1", "1-3", "Orvel OPU - Active USB Interface 2\n");
  EXPECT_EQ(SerialOpuDriver::FindPortsByDescription(Description, sysfs.places), QStringList());
  sysfs.AddUsbPort("ttyUSB4", "1-5", "Orvel OPU - Active USB Interface\n");
  sysfs.AddUsbPort("ttyUSB2", "1-4", "Orvel OPU - Active USB Interface\n");
  EXPECT_EQ(SerialOpuDriver::FindPortsByDescription(Description, sysfs.places),
            QStringList({sysfs.places.devRoot + "/ttyUSB2", sysfs.places.devRoot + "/ttyUSB4"}));
}

TEST(SerialOpuDriverTest, AProgrammingUnitInUseIsPassedOverForTheNext) {
  SimulatedOpu first;
  SimulatedOpu second;
  FakeSysfs sysfs;
  sysfs.AddUsbPort("ttyUSB0", "1-1", "Orvel OPU - Active USB Interface\n");
  sysfs.AddUsbPort("ttyUSB1", "1-2", "Orvel OPU - Active USB Interface\n");
  sysfs.AddNode("ttyUSB0", first.PortPath());
  sysfs.AddNode("ttyUSB1", second.PortPath());
  auto other = first.MakeLink();  // another program talks to the first unit
  ASSERT_EQ(other->Open(), 0);
  OpuLink link(std::make_unique<SerialOpuDriver>(QString(), sysfs.places));
  ASSERT_EQ(link.Open(), 0);
  EXPECT_EQ(link.CheckOpuVersion("15-1"), 0);
  EXPECT_EQ(second.Commands(), QStringList{"v"});
  EXPECT_THAT(first.Commands(), IsEmpty());

  // With every unit in use the user learns that, not merely that none answered.
  link.Close();
  auto third = second.MakeLink();
  ASSERT_EQ(third->Open(), 0);
  EXPECT_EQ(link.Open(), 1);
  EXPECT_EQ(link.LastOpenFailure().kind, OpenFailure::Busy);
}

// The exclusive flag belongs to the port and outlives a close while anyone else holds the port
// (as the simulator does): left set, it made every reopen by an ordinary user fail.
TEST(SerialOpuDriverTest, CloseLeavesThePortFreeForTheNextOpen) {
  SimulatedOpu opu;
  auto link = opu.MakeLink();
  ASSERT_EQ(link->Open(), 0);
  link->Close();
  const int port = ::open(opu.PortPath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
  ASSERT_GE(port, 0);
  int exclusive = -1;
  ASSERT_EQ(::ioctl(port, TIOCGEXCL, &exclusive), 0);
  ::close(port);
  EXPECT_EQ(exclusive, 0);
  EXPECT_EQ(link->Open(), 0);
}

TEST(SerialOpuDriverTest, OpensTheOpuFoundByDescription) {
  SimulatedOpu opu;
  ASSERT_TRUE(opu.IsServing());
  FakeSysfs sysfs;
  sysfs.AddUsbPort("ttyUSB0", "1-2", "FT232R USB UART\n");
  OpuLink absent(std::make_unique<SerialOpuDriver>(QString(), sysfs.places));
  EXPECT_EQ(absent.Open(), 1);
  EXPECT_FALSE(absent.IsOpen());
  EXPECT_TRUE(absent.LastOpenError().contains(Description));

  sysfs.AddUsbPort("ttyUSB3", "1-1", "Orvel OPU - Active USB Interface\n");
  sysfs.AddNode("ttyUSB3", opu.PortPath());
  OpuLink link(std::make_unique<SerialOpuDriver>(QString(), sysfs.places));
  ASSERT_EQ(link.Open(), 0);
  EXPECT_EQ(link.CheckOpuVersion("15-1"), 0);
  EXPECT_EQ(opu.Commands(), QStringList{"v"});
}

TEST(SerialOpuDriverTest, SetsUpARawLineAt57600With8DataAnd2StopBits) {
  SimulatedOpu opu;
  auto link = opu.MakeLink();
  ASSERT_EQ(link->Open(), 0);
  const int other = ::open(opu.PortPath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
  if (other < 0) {
    // Only a privileged process may open a port another holds exclusively.
    EXPECT_EQ(errno, EBUSY);
    GTEST_SKIP() << "the line settings can be read only with privileges";
  }
  termios line{};
  ASSERT_EQ(::tcgetattr(other, &line), 0);
  ::close(other);
  EXPECT_EQ(::cfgetospeed(&line), static_cast<speed_t>(B57600));
  EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_NE(line.c_cflag & CSTOPB, 0u);
  EXPECT_EQ(line.c_cflag & (PARENB | CRTSCTS), 0u);
  EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL), 0u);
  EXPECT_EQ(line.c_lflag & (ICANON | ECHO), 0u);
}

TEST(SerialOpuDriverTest, APortThatCannotBeOpenedSaysWhy) {
  SimulatedOpu opu;
  // The pseudo-terminal itself: an ordinary user may not even look into the test's own folders.
  const QString port = opu.Server().PortPath();
  QTemporaryDir folder;
  QFile file(folder.filePath("plain"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  std::unique_ptr<OpuLink> holder;
  struct stat status {};
  ASSERT_EQ(::stat(port.toLocal8Bit().constData(), &status), 0);
  const QString portGroup = QString::fromLocal8Bit(::getgrgid(status.st_gid)->gr_name);
  struct Case {
    const char* name;
    QString path;
    std::function<void()> arrange;
    OpenFailure::Kind kind;
    QString group;
  };
  const Case cases[] = {
      {"missing", folder.filePath("ttyUSB9"), [] {}, OpenFailure::NotFound, {}},
      {"no serial port", file.fileName(), [] {}, OpenFailure::Other, {}},
      // A second copy of the program, or any program that locks the port, privileged or not.
      {"in use",
       port,
       [&] { ASSERT_EQ((holder = opu.MakeLink())->Open(), 0); },
       OpenFailure::Busy,
       {}},
      {"no permission", port,
       [&] {
         holder.reset();
         ASSERT_EQ(::chmod(port.toLocal8Bit().constData(), 0), 0);
       },
       OpenFailure::NoPermission, portGroup},
  };
  for (const Case& failure : cases) {
    SCOPED_TRACE(failure.name);
    failure.arrange();
    OpuLink link(std::make_unique<SerialOpuDriver>(failure.path));
    // Permissions do not bind a privileged user; this thread checks files as an ordinary one.
    const bool privileged = ::geteuid() == 0 && failure.kind == OpenFailure::NoPermission;
    if (privileged) ::setfsuid(65534);
    const int opened = link.Open();
    if (privileged) ::setfsuid(0);
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.LastOpenFailure().kind, failure.kind);
    EXPECT_EQ(link.LastOpenFailure().port, failure.path);
    EXPECT_EQ(link.LastOpenFailure().group, failure.group);
    EXPECT_TRUE(link.LastOpenError().startsWith(failure.path));
  }
}

TEST(SerialOpuDriverTest, AfterAHangUpTheLinkClosesAndCannotReopen) {
  SimulatedOpu opu;
  OpuSimFaults faults;
  faults.hangUpOn = "v";
  opu.SetFaults(faults);
  auto link = opu.MakeLink();
  ASSERT_EQ(link->Open(), 0);
  QString version = "kept";
  EXPECT_EQ(link->ReadOpuVersion(version), 2);
  EXPECT_TRUE(opu.HungUp());
  EXPECT_TRUE(link->LineLost());
  EXPECT_EQ(link->QueueLength(), 0);
  // Nothing more is sent on a dead line, and nothing waits for an answer there.
  EXPECT_EQ(link->StopListening(), 2);
  EXPECT_EQ(opu.Commands(), QStringList{"v"});
  link->Close();
  EXPECT_TRUE(link->LineLost());
  EXPECT_EQ(link->Open(), 1);
  EXPECT_FALSE(link->LastOpenError().isEmpty());
  link->Close();
}

TEST(SerialOpuDriverTest, TheLinkOptionsNameThePort) {
  SimulatedOpu opu;
  OpuLink link(opu.LinkOptions());
  ASSERT_EQ(link.Open(), 0);
  EXPECT_EQ(link.StopListening(), 0);
  opu.ClearCommands();
  EXPECT_EQ(link.SendReadRequest("0622"), 0);
  EXPECT_EQ(opu.Commands(), QStringList{"m0622"});
}
