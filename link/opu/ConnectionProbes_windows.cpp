// Windows has no groups to join for a COM port, and does not tell which program holds one: a port
// that another program has open is simply refused.
#include "link/opu/ConnectionProbes.h"

GroupMembership MembershipOf(const QString& /*group*/) {
  return GroupMembership::Unknown;
}

bool GroupMayOpen(const QString& /*port*/) {
  return false;
}

QStringList ProgramsHolding(const QString& /*device*/) {
  return {};
}
