#include "link/opu/ConnectionProbes.h"

#include "support/SimulatedOpu.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Another program that locks the port, as a second copy of this program does.
class ForeignHolder {
 public:
  explicit ForeignHolder(const QString& port) {
    int ready[2];
    if (::pipe(ready) != 0) return;
    const QByteArray path = QFile::encodeName(port);
    pid_ = ::fork();
    if (pid_ == 0) {
      const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
      const char locked = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? '1' : '0';
      (void)!::write(ready[1], &locked, 1);
      ::pause();
      ::_exit(0);
    }
    char locked = '0';
    (void)!::read(ready[0], &locked, 1);
    ::close(ready[0]);
    ::close(ready[1]);
    locked_ = locked == '1';
  }
  ~ForeignHolder() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  ForeignHolder(const ForeignHolder&) = delete;
  ForeignHolder& operator=(const ForeignHolder&) = delete;

  [[nodiscard]] bool Locked() const { return locked_; }
  // As the check names it: the program (a fork of this test) and its process id.
  [[nodiscard]] QString Name() const {
    return QStringLiteral("%1 (%2)").arg(QCoreApplication::applicationName()).arg(pid_);
  }

 private:
  pid_t pid_ = -1;
  bool locked_ = false;
};

QString GroupNameOf(gid_t id) {
  const group* entry = ::getgrgid(id);
  return entry != nullptr ? QString::fromLocal8Bit(entry->gr_name) : QString();
}

}  // namespace

TEST(ConnectionProbesTest, MembershipOfTheSessionsGroupsOnly) {
  EXPECT_EQ(MembershipOf(GroupNameOf(::getegid())), GroupMembership::InSession);
  EXPECT_EQ(MembershipOf("no-such-group-here"), GroupMembership::Unknown);
  const group* nobody = ::getgrnam("nogroup");
  if (nobody == nullptr || nobody->gr_gid == ::getegid()) GTEST_SKIP() << "no group 'nogroup'";
  EXPECT_EQ(MembershipOf("nogroup"), GroupMembership::NotMember);
}

TEST(ConnectionProbesTest, AHolderIsNamedInFullNotByTheKernelsShortName) {
  QTemporaryDir folder;
  const QString program = folder.filePath(QStringLiteral("ukova-programmer-beside"));
  ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), program));
  // A device, as a port is; many programs hold this one.
  const QString device = QStringLiteral("/dev/null");
  QProcess holder;
  holder.setStandardInputFile(device);
  holder.start(program, {QStringLiteral("30")});
  ASSERT_TRUE(holder.waitForStarted());
  EXPECT_TRUE(ProgramsHolding(device).contains(
      QStringLiteral("ukova-programmer-beside (%1)").arg(holder.processId())));
  holder.kill();
  holder.waitForFinished();
}

// Each failure to open says what the user needs to put it right, and leaves the link closed.
TEST(ConnectionProbesTest, APortThatCannotBeOpenedNamesItsGroupOrItsHolder) {
  SimulatedOpu opu;
  ASSERT_TRUE(opu.IsServing());
  // The pseudo-terminal itself: an ordinary user may not even look into the test's folders.
  const QString port = opu.Server().PortPath();
  struct stat status {};
  ASSERT_EQ(::stat(port.toLocal8Bit().constData(), &status), 0);
  std::unique_ptr<ForeignHolder> holder;

  // Busy: another program holds the lock, and /proc tells which.
  holder = std::make_unique<ForeignHolder>(port);
  ASSERT_TRUE(holder->Locked());
  ConnectionProbes probes(OpuLinkOptions{port, {}});
  PortOpening opening = probes.Open();
  EXPECT_EQ(opening.failure.kind, OpenFailure::Busy);
  EXPECT_EQ(opening.port, port);
  EXPECT_EQ(opening.holders, QStringList{holder->Name()});
  EXPECT_FALSE(probes.LinkOpen());
  holder.reset();

  // No permission: the port's group, and whether this user belongs to it. Permissions do not
  // bind a privileged user; this thread checks files as an ordinary one meanwhile.
  ASSERT_EQ(::chmod(port.toLocal8Bit().constData(), S_IRGRP | S_IWGRP), 0);
  const bool privileged = ::geteuid() == 0;
  // As a serial port belongs to dialout: a group this user is not in.
  if (const group* other = ::getgrnam("nogroup"); privileged && other != nullptr) {
    ASSERT_EQ(::chown(port.toLocal8Bit().constData(), static_cast<uid_t>(-1), other->gr_gid), 0);
    status.st_gid = other->gr_gid;
  }
  if (privileged) ::setfsuid(65534);
  opening = probes.Open();
  if (privileged) ::setfsuid(0);
  EXPECT_EQ(opening.failure.kind, OpenFailure::NoPermission);
  EXPECT_EQ(opening.failure.group, GroupNameOf(status.st_gid));
  if (privileged) {
    EXPECT_EQ(opening.membership, GroupMembership::NotMember);
    EXPECT_TRUE(opening.groupMayOpen);
  }
  EXPECT_FALSE(probes.LinkOpen());

  // A port its group may not use either: joining the group would not help.
  ASSERT_EQ(::chmod(port.toLocal8Bit().constData(), 0), 0);
  if (privileged) ::setfsuid(65534);
  opening = probes.Open();
  if (privileged) ::setfsuid(0);
  EXPECT_EQ(opening.failure.kind, OpenFailure::NoPermission);
  EXPECT_FALSE(opening.groupMayOpen);
  EXPECT_TRUE(opu.Commands().isEmpty());
}

// Every answer to the listening poll ends it, and the link ends closed.
TEST(ConnectionProbesTest, ListeningHearsTheButtonOrEndsOnTheOpusFailureOrAPulledCable) {
  struct Case {
    const char* name;
    OpuSimFaults faults;
    ButtonAnswer::State state;
    QStringList commands;
  };
  OpuSimFaults failed;
  failed.listeningFails = true;
  OpuSimFaults garbled;
  garbled.productType = "070";  // an answer one character too long
  OpuSimFaults pulled;
  pulled.hangUpOn = "A";
  const Case cases[] = {
      {"heard", {}, ButtonAnswer::Heard, {"aFFFF2E", "A", "s0"}},
      {"listening failed", failed, ButtonAnswer::ListeningFailed, {"aFFFF2E", "A", "s0"}},
      {"wrong length", garbled, ButtonAnswer::ListeningFailed, {"aFFFF2E", "A", "s0"}},
      // Nothing is sent on a dead line.
      {"pulled cable", pulled, ButtonAnswer::LineLost, {"aFFFF2E", "A"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedOpu opu;
    opu.SetFaults(c.faults);
    ConnectionProbes probes(opu.LinkOptions());
    ASSERT_TRUE(probes.Open().Opened());
    ASSERT_TRUE(probes.StartListening());
    const ButtonAnswer answer = probes.PollButton();
    EXPECT_EQ(answer.state, c.state);
    if (c.state == ButtonAnswer::Heard) {
      EXPECT_EQ(answer.radioCode, opu.RadioCode());
      EXPECT_EQ(answer.productType, "07");
    }
    probes.Finish();
    EXPECT_FALSE(probes.LinkOpen());
    EXPECT_EQ(opu.Commands(), c.commands);
  }
}
