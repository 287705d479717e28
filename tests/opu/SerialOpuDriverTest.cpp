#include "link/opu/SerialOpuDriver.h"

#include "link/opu/OpuLink.h"
#include "support/SimulatedOpu.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A sysfs tree as the kernel shows USB-serial adapters and a built-in serial port, with device
// nodes that lead wherever the test says.
class FakeSysfs {
 public:
  FakeSysfs() {
    places.sysfsRoot = folder_.filePath("sys");
    places.devRoot = folder_.filePath("dev");
    QDir().mkpath(places.devRoot);
  }

  void AddUsbPort(const QString& tty, const QString& usbDevice, const QByteArray& product) {
    const QString device = "devices/pci0000:00/usb1/" + usbDevice;
    Write(device + "/idVendor", "0403\n");
    Write(device + "/product", product);
    // The interface folder sits between the tty and the USB device, without idVendor.
    Link(tty, device + "/" + usbDevice + ":1.0/" + tty);
  }

  void AddBuiltInPort(const QString& tty) { Link(tty, "devices/platform/serial8250/" + tty); }

  void AddNode(const QString& tty, const QString& target) {
    QFile::link(target, places.devRoot + "/" + tty);
  }

  SerialPortPlaces places;

 private:
  void Write(const QString& relative, const QByteArray& content) {
    const QString path = places.sysfsRoot + "/" + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  void Link(const QString& tty, const QString& deviceFolder) {
    QDir().mkpath(places.sysfsRoot + "/" + deviceFolder);
    const QString classFolder = places.sysfsRoot + "/class/tty/" + tty;
    QDir().mkpath(classFolder);
    QFile::link(places.sysfsRoot + "/" + deviceFolder, classFolder + "/device");
  }

  QTemporaryDir folder_;
};

const QString Description = QString::fromLatin1(OpuLink::Description);

}  // namespace

TEST(SerialOpuDriverTest, FindsThePortByItsUsbProductString) {
  FakeSysfs sysfs;
  sysfs.AddBuiltInPort("ttyS0");
  sysfs.AddUsbPort("ttyUSB0", "1-2", "FT232R USB UART\n");
  sysfs.AddUsbPort("ttyUSB1", "1-3", "Orvel OPU - Active USB Interface 2\n");
  EXPECT_EQ(SerialOpuDriver::FindPortByDescription(Description, sysfs.places), "");
  sysfs.AddUsbPort("ttyUSB2", "1-4", "Orvel OPU - Active USB Interface\n");
  EXPECT_EQ(SerialOpuDriver::FindPortByDescription(Description, sysfs.places),
            sysfs.places.devRoot + "/ttyUSB2");
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
  QTemporaryDir folder;
  const QString missing = folder.filePath("ttyUSB9");
  OpuLink absent(std::make_unique<SerialOpuDriver>(missing));
  EXPECT_EQ(absent.Open(), 1);
  EXPECT_TRUE(absent.LastOpenError().startsWith(missing));
  EXPECT_FALSE(absent.LastOpenLackedPermission());

  // A file is no serial port.
  QFile file(folder.filePath("plain"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  OpuLink plain(std::make_unique<SerialOpuDriver>(file.fileName()));
  EXPECT_EQ(plain.Open(), 1);
  EXPECT_FALSE(plain.IsOpen());
  EXPECT_FALSE(plain.LastOpenError().isEmpty());
}

TEST(SerialOpuDriverTest, APortWithoutPermissionIsAPlainFailureThatSaysSo) {
  SimulatedOpu opu;
  ASSERT_EQ(::chmod(opu.PortPath().toLocal8Bit().constData(), 0), 0);
  auto link = opu.MakeLink();
  // Permissions do not bind a privileged user; this thread checks files as an ordinary one.
  const bool privileged = ::geteuid() == 0;
  if (privileged) ::setfsuid(65534);
  const int opened = link->Open();
  if (privileged) ::setfsuid(0);
  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(link->IsOpen());
  EXPECT_TRUE(link->LastOpenLackedPermission());
  EXPECT_TRUE(link->LastOpenError().contains(QString::fromLocal8Bit(std::strerror(EACCES))))
      << link->LastOpenError().toStdString();
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
  EXPECT_EQ(link->QueueLength(), 0);
  link->Close();
  EXPECT_EQ(link->Open(), 1);
  EXPECT_FALSE(link->LastOpenError().isEmpty());
  link->Close();
}

TEST(SerialOpuDriverTest, TheProgramWideOptionsNameThePort) {
  {
    SimulatedOpu opu;
    opu.UseAsProgramPort();
    OpuLink link;
    ASSERT_EQ(link.Open(), 0);
    EXPECT_EQ(link.StopListening(), 0);
    opu.ClearCommands();
    EXPECT_EQ(link.SendReadRequest("0622"), 0);
    EXPECT_EQ(opu.Commands(), QStringList{"m0622"});
  }
  EXPECT_EQ(CurrentOpuLinkOptions().portPath, "");
}
