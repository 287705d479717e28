#include "files/CommonFolders.h"
#include "files/FolderAccess_windows.h"

#include <QDir>

#include <aclapi.h>
#include <knownfolders.h>
#include <shlobj.h>
#include <windows.h>

namespace {

QString KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  const bool found = SHGetKnownFolderPath(id, 0, nullptr, &path) == S_OK;
  const QString folder =
      found ? QDir::fromNativeSeparators(QString::fromWCharArray(path)) : QString();
  CoTaskMemFree(path);
  return folder;
}

void GrantUsersModify(const wchar_t* path) {
  PACL current = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(path, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                            &current, nullptr, &descriptor) != ERROR_SUCCESS)
    return;
  const PACL granted = WithUsersModify(current);
  if (granted != nullptr)
    (void)SetNamedSecurityInfoW(const_cast<wchar_t*>(path), SE_FILE_OBJECT,
                                DACL_SECURITY_INFORMATION, nullptr, nullptr, granted, nullptr);
  LocalFree(granted);
  LocalFree(descriptor);
}

}  // namespace

PACL WithUsersModify(PACL current) {
  BYTE users[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(users);
  if (!CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &size)) return nullptr;
  EXPLICIT_ACCESSW access{};
  access.grfAccessPermissions =
      FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE;
  access.grfAccessMode = GRANT_ACCESS;
  access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = reinterpret_cast<LPWSTR>(users);
  PACL granted = nullptr;
  return SetEntriesInAclW(1, &access, current, &granted) == ERROR_SUCCESS ? granted : nullptr;
}

QString CommonDataBase() {
  return KnownFolder(FOLDERID_ProgramData);
}

QString CommonDocumentsBase() {
  return KnownFolder(FOLDERID_PublicDocuments);
}

void CreateProgramFolder(const QString& path) {
  const QString native = QDir::toNativeSeparators(path);
  const auto* name = reinterpret_cast<const wchar_t*>(native.utf16());
  if (CreateDirectoryW(name, nullptr)) GrantUsersModify(name);
}
