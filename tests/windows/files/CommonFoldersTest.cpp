#include "files/CommonFolders.h"

#include "files/FolderAccess_windows.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <aclapi.h>
#include <windows.h>

namespace {

// What the folder's access list grants the local users, and whether it is handed down.
struct UsersGrant {
  ACCESS_MASK rights = 0;
  bool inherited = false;
};

UsersGrant UsersGrantIn(const ACL* list) {
  UsersGrant grant;
  BYTE users[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(users);
  CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &size);
  for (DWORD index = 0; list != nullptr && index < list->AceCount; ++index) {
    void* entry = nullptr;
    if (!GetAce(const_cast<ACL*>(list), index, &entry)) continue;
    const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    if (allowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE ||
        !EqualSid(const_cast<DWORD*>(&allowed->SidStart), users))
      continue;
    grant.rights |= allowed->Mask;
    grant.inherited = (allowed->Header.AceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)) ==
                      (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
  }
  return grant;
}

TEST(WindowsCommonFolders, AreTheOnesEveryUserOfThePcShares) {
  EXPECT_TRUE(CommonDataBase().endsWith("/ProgramData", Qt::CaseInsensitive))
      << CommonDataBase().toStdString();
  EXPECT_TRUE(CommonDocumentsBase().endsWith("/Public/Documents", Qt::CaseInsensitive))
      << CommonDocumentsBase().toStdString();
}

// Wine keeps no access lists on its files: the list the folder gets is checked as it is made.
TEST(WindowsCommonFolders, EveryLocalUserMayChangeWhatAProgramFolderHolds) {
  QTemporaryDir scratch;
  const QString folder = scratch.filePath("ORVEL");
  CreateProgramFolder(folder);
  EXPECT_TRUE(QDir(folder).exists());
  const PACL list = WithUsersModify(nullptr);
  ASSERT_NE(list, nullptr);
  const UsersGrant grant = UsersGrantIn(list);
  LocalFree(list);
  const ACCESS_MASK modify = FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE;
  EXPECT_EQ(grant.rights & modify, modify) << std::hex << grant.rights;
  // Taking ownership or changing the permissions stays with the administrators.
  EXPECT_EQ(grant.rights & (WRITE_DAC | WRITE_OWNER), 0u) << std::hex << grant.rights;
  EXPECT_TRUE(grant.inherited);
}

}  // namespace
