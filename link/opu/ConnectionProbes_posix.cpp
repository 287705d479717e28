// What the connection check asks Linux about a port: its group, the user's membership of it, and
// the programs that hold the port open.
#include "link/opu/ConnectionProbes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <vector>

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

// The program's whole name: "comm" holds only its first 15 characters. The program file's name
// where the process may be looked into, else the first word of its command line, else "comm".
QString ProgramName(const QString& processFolder) {
  QString program = QFileInfo(processFolder + QStringLiteral("/exe")).symLinkTarget();
  program.remove(QStringLiteral(" (deleted)"));
  if (program.isEmpty()) {
    QFile commandLine(processFolder + QStringLiteral("/cmdline"));
    if (commandLine.open(QIODevice::ReadOnly)) {
      program = QString::fromLocal8Bit(commandLine.readAll().split('\0').constFirst());
    }
  }
  if (!program.isEmpty()) return QFileInfo(program).fileName();
  QFile name(processFolder + QStringLiteral("/comm"));
  return name.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(name.readAll()).trimmed()
                                        : QString();
}

}  // namespace

bool GroupMayOpen(const QString& port) {
  struct stat status {};
  if (::stat(QFile::encodeName(port).constData(), &status) != 0) return false;
  const mode_t readWrite = S_IRGRP | S_IWGRP;
  return status.st_gid != 0 && (status.st_mode & readWrite) == readWrite;
}

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
