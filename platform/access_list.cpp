#include "platform/access_list.h"

#include <aclapi.h>

namespace lumorix::platform {

OwnedAcl AdministratorsFullUsersRead(DWORD full, DWORD read) {
  BYTE sids[3][SECURITY_MAX_SID_SIZE];
  const WELL_KNOWN_SID_TYPE types[3] = {WinBuiltinAdministratorsSid, WinLocalSystemSid, WinBuiltinUsersSid};
  EXPLICIT_ACCESSW entries[3] = {};
  for (int i = 0; i < 3; ++i) {
    DWORD size = sizeof sids[i];
    if (!CreateWellKnownSid(types[i], nullptr, sids[i], &size)) return nullptr;
    entries[i].grfAccessPermissions = i < 2 ? full : read;
    entries[i].grfAccessMode = SET_ACCESS;
    entries[i].grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    entries[i].Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entries[i].Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    entries[i].Trustee.ptstrName = reinterpret_cast<LPWSTR>(sids[i]);
  }
  PACL list = nullptr;
  if (SetEntriesInAclW(3, entries, nullptr, &list) != ERROR_SUCCESS) return nullptr;
  return OwnedAcl(list);
}

AdministratorsFolderDescriptor::AdministratorsFolderDescriptor()
    : list_(AdministratorsFullUsersRead(FILE_ALL_ACCESS, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE)) {
  DWORD size = sizeof owner_;
  ready_ = list_ && CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, owner_, &size) &&
           InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
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
