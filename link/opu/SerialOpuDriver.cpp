#include "link/opu/SerialOpuDriver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int StatusFailure = 4;  // any status but 0 is a failure to the link

QString ErrnoText(const QString& path, int error) {
  return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

// The USB device a tty belongs to: the first folder above the tty's device folder that holds
// idVendor. Empty for a port on no USB adapter.
QString UsbDeviceFolderOf(const QString& deviceLink, const QString& sysfsRoot) {
  QString folder = QFileInfo(deviceLink).canonicalFilePath();
  const QString root = QFileInfo(sysfsRoot).canonicalFilePath();
  while (!folder.isEmpty() && folder.startsWith(root) && folder != root) {
    if (QFileInfo::exists(folder + QStringLiteral("/idVendor"))) return folder;
    folder = QFileInfo(folder).path();
  }
  return {};
}

// The USB device's product string, without the trailing newline.
QString UsbProductIn(const QString& usbFolder) {
  QFile product(usbFolder + QStringLiteral("/product"));
  if (!product.open(QIODevice::ReadOnly)) return {};
  QByteArray text = product.readAll();
  while (text.endsWith('\n')) text.chop(1);
  return QString::fromUtf8(text);
}

// The group that owns a port: the user must belong to it to open the port.
QString GroupOf(const QString& path) {
  struct stat status {};
  if (::stat(QFile::encodeName(path).constData(), &status) != 0) return {};
  const group* owner = ::getgrgid(status.st_gid);
  return owner != nullptr ? QString::fromLocal8Bit(owner->gr_name) : QString::number(status.st_gid);
}

speed_t SpeedFor(int baudRate) {
  switch (baudRate) {
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return B0;
  }
}

timespec RemainingUntil(OpuDriver::Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - OpuDriver::Clock::now());
  const long long nanoseconds = std::max<long long>(0, left.count());
  return {static_cast<time_t>(nanoseconds / 1000000000),
          static_cast<long>(nanoseconds % 1000000000)};
}

}  // namespace

SerialOpuDriver::SerialOpuDriver(QString portPath, SerialPortPlaces places)
    : portPath_(std::move(portPath)), places_(std::move(places)) {}

SerialOpuDriver::~SerialOpuDriver() {
  Close();
}

std::vector<UsbSerialPort> SerialOpuDriver::ListUsbPorts(const SerialPortPlaces& places) {
  const QString classFolder = places.sysfsRoot + QStringLiteral("/class/tty");
  const QStringList names =
      QDir(classFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
  std::vector<UsbSerialPort> ports;
  for (const QString& name : names) {
    const QString device = classFolder + QLatin1Char('/') + name + QStringLiteral("/device");
    if (!QFileInfo::exists(device)) continue;
    const QString usbFolder = UsbDeviceFolderOf(device, places.sysfsRoot);
    if (!usbFolder.isEmpty())
      ports.push_back({places.devRoot + QLatin1Char('/') + name, UsbProductIn(usbFolder)});
  }
  return ports;
}

QStringList SerialOpuDriver::FindPortsByDescription(const QString& description,
                                                    const SerialPortPlaces& places) {
  return FindPortsByDescription(description, ListUsbPorts(places));
}

QStringList SerialOpuDriver::FindPortsByDescription(const QString& description,
                                                    const std::vector<UsbSerialPort>& ports) {
  return ::FindPortsByDescription(description, ports);
}

int SerialOpuDriver::OpenEx(const QString& description, int openMode) {
  Close();
  const QStringList ports =
      portPath_.isEmpty() ? FindPortsByDescription(description, places_) : QStringList{portPath_};
  const auto openPort = [this](const QString& port) { return OpenPort(port) == 0; };
  return OpenOneOf(openMode, description, ports, openPort, lastOpenFailure_, lastOpenError_)
             ? 0
             : StatusFailure;
}

int SerialOpuDriver::OpenPort(const QString& path) {
  // A child process must not inherit the port and keep the OPU busy after the link closed it.
  const int fd =
      ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    NoteOpenFailure(path, errno);
    return StatusFailure;
  }
  // Another program talking to the OPU at the same time would garble both conversations. The
  // lock keeps out every program that asks for it, a privileged one included; the exclusive
  // flag keeps out the unprivileged ones that do not ask.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    NoteOpenFailure(path, errno);
    ::close(fd);
    return StatusFailure;
  }
  if (::ioctl(fd, TIOCEXCL) != 0 || ::tcgetattr(fd, &settings_) != 0) {
    NoteOpenFailure(path, errno);
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
    return StatusFailure;
  }
  fd_ = fd;
  openedPort_ = path;
  hungUp_ = false;
  ::cfmakeraw(&settings_);
  settings_.c_cflag |= CLOCAL | CREAD;
  settings_.c_cc[VMIN] = 0;
  settings_.c_cc[VTIME] = 0;
  if (ApplySettings() != 0) {
    NoteOpenFailure(path, errno);
    Close();
    return StatusFailure;
  }
  return 0;
}

void SerialOpuDriver::NoteOpenFailure(const QString& path, int error) {
  lastOpenError_ = ErrnoText(path, error);
  lastOpenFailure_ = {OpenFailure::Other, path, {}};
  if (error == EACCES || error == EPERM) {
    lastOpenFailure_.kind = OpenFailure::NoPermission;
    lastOpenFailure_.group = GroupOf(path);
  } else if (error == EBUSY || error == EWOULDBLOCK) {
    lastOpenFailure_.kind = OpenFailure::Busy;
  } else if (error == ENOENT || error == ENODEV || error == ENXIO) {
    lastOpenFailure_.kind = OpenFailure::NotFound;
  }
}

int SerialOpuDriver::ApplySettings() {
  if (fd_ < 0) return StatusFailure;
  return ::tcsetattr(fd_, TCSANOW, &settings_) == 0 ? 0 : StatusFailure;
}

int SerialOpuDriver::SetBaudRate(int baudRate) {
  const speed_t speed = SpeedFor(baudRate);
  if (fd_ < 0 || speed == B0) return StatusFailure;
  ::cfsetispeed(&settings_, speed);
  ::cfsetospeed(&settings_, speed);
  return ApplySettings();
}

int SerialOpuDriver::SetDataCharacteristics(int wordLength, int stopBits, int parity) {
  if (fd_ < 0 || wordLength != WordLength8 || (stopBits != 1 && stopBits != StopBits2) ||
      parity != ParityNone)
    return StatusFailure;
  settings_.c_cflag = (settings_.c_cflag & ~(CSIZE | PARENB | CSTOPB)) | CS8;
  if (stopBits == StopBits2) settings_.c_cflag |= CSTOPB;
  return ApplySettings();
}

int SerialOpuDriver::SetFlowControl(int flowControl, char /*xon*/, char /*xoff*/) {
  if (fd_ < 0 || flowControl != FlowControlNone) return StatusFailure;
  settings_.c_cflag &= ~CRTSCTS;
  settings_.c_iflag &= ~(IXON | IXOFF | IXANY);
  return ApplySettings();
}

int SerialOpuDriver::ClearDtr() {
  if (fd_ < 0) return StatusFailure;
  int lines = TIOCM_DTR;
  // A line without modem control (a pseudo-terminal) has no DTR to clear.
  if (::ioctl(fd_, TIOCMBIC, &lines) == 0 || errno == ENOTTY) return 0;
  return StatusFailure;
}

int SerialOpuDriver::Purge(int mask) {
  if (fd_ < 0) return StatusFailure;
  const bool receive = (mask & PurgeReceive) != 0;
  const bool transmit = (mask & PurgeTransmit) != 0;
  if (!receive && !transmit) return 0;
  const int queue = receive && transmit ? TCIOFLUSH : receive ? TCIFLUSH : TCOFLUSH;
  return ::tcflush(fd_, queue) == 0 ? 0 : StatusFailure;
}

int SerialOpuDriver::SetTimeouts(int /*readMs*/, int writeMs) {
  // Reads never wait here: the link asks only for queued bytes.
  if (fd_ < 0) return StatusFailure;
  writeTimeoutMs_ = writeMs;
  return 0;
}

int SerialOpuDriver::GetQueueStatus(std::uint32_t& received) {
  int queued = 0;
  if (fd_ < 0 || hungUp_ || ::ioctl(fd_, FIONREAD, &queued) != 0) return StatusFailure;
  received = static_cast<std::uint32_t>(queued);
  return 0;
}

int SerialOpuDriver::Read(char* buffer, std::uint32_t count, std::uint32_t& delivered) {
  delivered = 0;
  if (fd_ < 0 || hungUp_) return StatusFailure;
  if (count == 0) return 0;
  const ssize_t got = ::read(fd_, buffer, count);
  if (got >= 0) {
    delivered = static_cast<std::uint32_t>(got);
    return 0;
  }
  if (errno == EAGAIN || errno == EINTR) return 0;
  NoteHangUp();
  return StatusFailure;
}

int SerialOpuDriver::Write(const char* bytes, std::uint32_t count, std::uint32_t& written) {
  written = 0;
  if (fd_ < 0 || hungUp_) return StatusFailure;
  const auto deadline = Clock::now() + std::chrono::milliseconds(writeTimeoutMs_);
  while (written < count) {
    const ssize_t sent = ::write(fd_, bytes + written, count - written);
    if (sent > 0) {
      written += static_cast<std::uint32_t>(sent);
      continue;
    }
    if (sent < 0 && errno != EAGAIN && errno != EINTR) {
      NoteHangUp();
      return StatusFailure;
    }
    pollfd port{fd_, POLLOUT, 0};
    const timespec left = RemainingUntil(deadline);
    if (Clock::now() >= deadline || ::ppoll(&port, 1, &left, nullptr) <= 0) break;
  }
  return 0;
}

int SerialOpuDriver::Close() {
  if (fd_ < 0) return StatusFailure;
  // The flag belongs to the port, not to this descriptor: left set, it would outlive the close
  // while anyone else (a simulator, a getty) holds the port, and the next open would be refused.
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
  hungUp_ = false;
  return 0;
}

void SerialOpuDriver::WaitForBytes(Clock::time_point deadline) {
  if (fd_ >= 0 && !hungUp_) {
    pollfd port{fd_, POLLIN, 0};
    const timespec left = RemainingUntil(deadline);
    if (::ppoll(&port, 1, &left, nullptr) <= 0) return;
    const bool lineDown = (port.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    int queued = 0;
    if (!lineDown || (::ioctl(fd_, FIONREAD, &queued) == 0 && queued > 0)) return;
    // A line that hung up reports so at once, every time: waiting on it must still sleep.
    NoteHangUp();
  }
  Pause(deadline);
}

void SerialOpuDriver::Pause(Clock::time_point until) {
  // A signal ends ppoll early; the pause still lasts until the time asked for.
  while (Clock::now() < until) {
    const timespec left = RemainingUntil(until);
    (void)::ppoll(nullptr, 0, &left, nullptr);
  }
}

void SerialOpuDriver::NoteHangUp() {
  hungUp_ = true;
}
