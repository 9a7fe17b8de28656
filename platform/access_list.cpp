#include "platform/access_list.h"

#include <aclapi.h>

#include "platform/handle.h"

namespace lumorix::platform {

namespace {

struct Entry {
  PSID sid;
  DWORD rights;
  TRUSTEE_TYPE type;
};

template <size_t N>
OwnedAcl ListOf(const Entry (&given)[N]) {
  EXPLICIT_ACCESSW entries[N] = {};
  for (size_t i = 0; i < N; ++i) {
    entries[i].grfAccessPermissions = given[i].rights;
    entries[i].grfAccessMode = SET_ACCESS;
    entries[i].grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    entries[i].Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entries[i].Trustee.TrusteeType = given[i].type;
    entries[i].Trustee.ptstrName = reinterpret_cast<LPWSTR>(given[i].sid);
  }
  PACL list = nullptr;
  if (SetEntriesInAclW(N, entries, nullptr, &list) != ERROR_SUCCESS) return nullptr;
  return OwnedAcl(list);
}

bool WellKnown(WELL_KNOWN_SID_TYPE type, BYTE (&sid)[SECURITY_MAX_SID_SIZE]) {
  DWORD size = sizeof sid;
  return CreateWellKnownSid(type, nullptr, sid, &size) != FALSE;
}

}  // namespace

OwnedAcl AdministratorsFullUsersRead(DWORD full, DWORD read) {
  BYTE sids[3][SECURITY_MAX_SID_SIZE];
  if (!WellKnown(WinBuiltinAdministratorsSid, sids[0]) || !WellKnown(WinLocalSystemSid, sids[1]) ||
      !WellKnown(WinBuiltinUsersSid, sids[2]))
    return nullptr;
  const Entry entries[] = {{sids[0], full, TRUSTEE_IS_WELL_KNOWN_GROUP},
                           {sids[1], full, TRUSTEE_IS_WELL_KNOWN_GROUP},
                           {sids[2], read, TRUSTEE_IS_WELL_KNOWN_GROUP}};
  return ListOf(entries);
}

bool CurrentUserSid(BYTE (&sid)[SECURITY_MAX_SID_SIZE]) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  UniqueHandle owned(token);
  BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) return false;
  PSID user = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
  return CopySid(sizeof sid, sid, user) != FALSE;
}

FolderDescriptor::FolderDescriptor(Kind kind) {
  if (kind == Kind::Administrators) {
    list_ = AdministratorsFullUsersRead(FILE_ALL_ACCESS, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE);
    if (!WellKnown(WinBuiltinAdministratorsSid, owner_)) return;
  } else {
    BYTE system[SECURITY_MAX_SID_SIZE], administrators[SECURITY_MAX_SID_SIZE];
    if (!CurrentUserSid(owner_) || !WellKnown(WinLocalSystemSid, system) ||
        !WellKnown(WinBuiltinAdministratorsSid, administrators))
      return;
    const Entry entries[] = {{owner_, FILE_ALL_ACCESS, TRUSTEE_IS_USER},
                             {system, FILE_ALL_ACCESS, TRUSTEE_IS_WELL_KNOWN_GROUP},
                             {administrators, FILE_ALL_ACCESS, TRUSTEE_IS_WELL_KNOWN_GROUP}};
    list_ = ListOf(entries);
  }
  ready_ = list_ && InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
           SetSecurityDescriptorOwner(&descriptor_, owner_, FALSE) &&
           SetSecurityDescriptorDacl(&descriptor_, TRUE, list_.get(), FALSE) &&
           SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
}

bool CreateAdministratorsFolder(const std::wstring& path) {
  AdministratorsFolderDescriptor descriptor;
  if (!descriptor) return false;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.Get(), FALSE};
  return CreateDirectoryW(path.c_str(), &attributes) != FALSE;
}

}  // namespace lumorix::platform
