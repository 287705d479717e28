#include "link/opu/ConnectionProbes.h"

#include "image/ParameterImage.h"
#include "image/VembaData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <memory>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool SessionHasGroup(gid_t id) {
  if (::getegid() == id) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  groups.resize(static_cast<std::size_t>(std::max(::getgroups(count, groups.data()), 0)));
  return std::find(groups.begin(), groups.end(), id) != groups.end();
}

bool ListsMember(const group& entry, const char* user) {
  for (char** member = entry.gr_mem; member != nullptr && *member != nullptr; ++member) {
    if (std::strcmp(*member, user) == 0) return true;
  }
  return false;
}

// Whether members of the port's group may use it. Nobody is sent to join a group that does not
// help, nor the administrators' group.
bool GroupMayOpen(const QString& port) {
  struct stat status {};
  if (::stat(QFile::encodeName(port).constData(), &status) != 0) return false;
  const mode_t readWrite = S_IRGRP | S_IWGRP;
  return status.st_gid != 0 && (status.st_mode & readWrite) == readWrite;
}

QString ProgramName(const QString& processFolder) {
  QFile name(processFolder + QStringLiteral("/comm"));
  return name.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(name.readAll()).trimmed()
                                        : QString();
}

}  // namespace

GroupMembership MembershipOf(const QString& groupName) {
  const group* entry = ::getgrnam(groupName.toLocal8Bit().constData());
  if (entry == nullptr) return GroupMembership::Unknown;
  const gid_t id = entry->gr_gid;
  if (SessionHasGroup(id)) return GroupMembership::InSession;
  // The group database lists the user already: only a new login brings the group along.
  const bool listed = [entry, id] {
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && (user->pw_gid == id || ListsMember(*entry, user->pw_name));
  }();
  return listed ? GroupMembership::AfterNextLogin : GroupMembership::NotMember;
}

QStringList ProgramsHolding(const QString& device) {
  const QString target = QFileInfo(device).canonicalFilePath();
  QStringList holders;
  if (target.isEmpty()) return holders;
  const QString self = QString::number(::getpid());
  const QString procRoot = QStringLiteral("/proc");
  for (const QString& process : QDir(procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    bool isProcess = false;
    (void)process.toLongLong(&isProcess);
    if (!isProcess || process == self) continue;
    const QString folder = procRoot + QLatin1Char('/') + process;
    const QFileInfoList descriptors =
        QDir(folder + QStringLiteral("/fd")).entryInfoList(QDir::System | QDir::NoDotAndDotDot);
    const bool holds = std::any_of(
        descriptors.begin(), descriptors.end(),
        [&target](const QFileInfo& descriptor) { return descriptor.symLinkTarget() == target; });
    if (holds) holders << QStringLiteral("%1 (%2)").arg(ProgramName(folder), process);
  }
  return holders;
}

ConnectionProbes::ConnectionProbes(const OpuLinkOptions& options, SerialPortPlaces places)
    : namedPort_(options.portPath),
      places_(std::move(places)),
      driver_(new SerialOpuDriver(namedPort_, places_)),
      link_(std::unique_ptr<OpuDriver>(driver_), options.traceFile) {}

ConnectionProbes::~ConnectionProbes() {
  Finish();
}

PortSearch ConnectionProbes::FindPorts() const {
  PortSearch search;
  search.namedPort = namedPort_;
  search.namedPortExists = !namedPort_.isEmpty() && QFileInfo::exists(namedPort_);
  search.usbPorts = SerialOpuDriver::ListUsbPorts(places_);
  search.opuPorts = SerialOpuDriver::FindPortsByDescription(
      QString::fromLatin1(OpuLink::Description), search.usbPorts);
  return search;
}

PortOpening ConnectionProbes::Open() {
  Finish();
  PortOpening opening;
  if (link_.Open() == 0) {
    opening.port = driver_->OpenedPort();
    return opening;
  }
  opening.failure = link_.LastOpenFailure();
  // A port that opened but refused its line settings is a failure without a kind of its own.
  if (opening.failure.kind == OpenFailure::None) opening.failure.kind = OpenFailure::Other;
  opening.port = opening.failure.port.isEmpty() ? driver_->OpenedPort() : opening.failure.port;
  opening.systemText = link_.LastOpenError();
  link_.Close();
  if (opening.failure.kind == OpenFailure::NoPermission) {
    opening.membership = MembershipOf(opening.failure.group);
    opening.groupMayOpen = GroupMayOpen(opening.port);
  }
  if (opening.failure.kind == OpenFailure::Busy) opening.holders = ProgramsHolding(opening.port);
  return opening;
}

VersionAnswer ConnectionProbes::AskVersion() {
  VersionAnswer answer;
  answer.answered = link_.IsOpen() && link_.ReadOpuVersion(answer.version) == OpuLink::Success;
  answer.newEnough =
      answer.answered &&
      OpuLink::VersionIsNewEnough(answer.version, QString::fromLatin1(OpuLink::RequiredVersion));
  return answer;
}

bool ConnectionProbes::StartListening() {
  // The OPU reports the product-type byte of the transmitter it hears, with its code.
  listening_ = link_.IsOpen() &&
               link_.StartListening(QString::fromLatin1(OpuLink::AnyTransmitter),
                                    VembaData::ByteToHex(ProductTypeAddress)) == OpuLink::Success;
  return listening_;
}

ButtonAnswer ConnectionProbes::PollButton() {
  ButtonAnswer answer;
  if (!listening_ || link_.LineLost()) {
    answer.state = ButtonAnswer::LineLost;
    return answer;
  }
  QString polled;
  (void)link_.PollListening(polled);
  if (link_.LineLost()) {
    answer.state = ButtonAnswer::LineLost;
  } else if (polled == QLatin1String(OpuLink::ListeningFailed)) {
    answer.state = ButtonAnswer::ListeningFailed;
  } else if (const auto heard = OpuLink::ParseListeningAnswer(polled)) {
    answer.state = ButtonAnswer::Heard;
    answer.radioCode = heard->radioCode;
    answer.productType = heard->productType;
  } else if (OpuLink::ListeningAnswerComplete(polled)) {
    // The OPU has stopped listening, but its answer names no transmitter: waiting on would
    // end in blaming the distance or the battery.
    answer.state = ButtonAnswer::ListeningFailed;
  }
  return answer;
}

void ConnectionProbes::Finish() {
  if (listening_ && link_.IsOpen() && !link_.LineLost()) (void)link_.StopListening();
  listening_ = false;
  link_.Close();
}
