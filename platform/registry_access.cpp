#include "platform/registry_access.h"

#include <aclapi.h>

#include <memory>

#include "platform/registry.h"

namespace lumorix {

namespace {

struct LocalDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};

std::unique_ptr<void, LocalDeleter> UsersSid() {
  DWORD size = SECURITY_MAX_SID_SIZE;
  std::unique_ptr<void, LocalDeleter> sid(LocalAlloc(LMEM_FIXED, size));
  if (!sid || !CreateWellKnownSid(WinBuiltinUsersSid, nullptr, sid.get(), &size)) return nullptr;
  return sid;
}

}  // namespace

bool GrantUsersFullControl(HKEY root, const std::string& path) {
  RegistryKey key = RegistryKey::Open(root, path, READ_CONTROL | WRITE_DAC);
  auto sid = UsersSid();
  if (!key || !sid) return false;
  PACL current = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &current, nullptr,
                      &descriptor) != ERROR_SUCCESS)
    return false;
  std::unique_ptr<void, LocalDeleter> keepDescriptor(descriptor);

  EXPLICIT_ACCESSW access{};
  access.grfAccessPermissions = KEY_ALL_ACCESS;
  access.grfAccessMode = GRANT_ACCESS;
  access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = static_cast<LPWSTR>(sid.get());
  PACL updated = nullptr;
  if (SetEntriesInAclW(1, &access, current, &updated) != ERROR_SUCCESS) return false;
  std::unique_ptr<void, LocalDeleter> keepUpdated(updated);
  return SetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, updated, nullptr) ==
         ERROR_SUCCESS;
}

bool UsersHaveFullControl(HKEY root, const std::string& path) {
  RegistryKey key = RegistryKey::Open(root, path, READ_CONTROL);
  auto sid = UsersSid();
  if (!key || !sid) return false;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                      &descriptor) != ERROR_SUCCESS)
    return false;
  std::unique_ptr<void, LocalDeleter> keepDescriptor(descriptor);
  if (!dacl) return true;  // no list at all: everyone may do everything
  ACL_SIZE_INFORMATION size{};
  if (!GetAclInformation(dacl, &size, sizeof size, AclSizeInformation)) return false;
  for (DWORD index = 0; index < size.AceCount; ++index) {
    void* entry = nullptr;
    if (!GetAce(dacl, index, &entry)) continue;
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    if (allowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    if (EqualSid(&allowed->SidStart, sid.get()) && (allowed->Mask & KEY_ALL_ACCESS) == KEY_ALL_ACCESS) return true;
  }
  return false;
}

}  // namespace lumorix
