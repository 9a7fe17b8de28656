#include "setup/folder_security.h"

#include <aclapi.h>
#include <sddl.h>

#include <memory>

#include "platform/access_list.h"
#include "platform/handle.h"
#include "platform/wine_host.h"

namespace lumorix::setup {

namespace {

std::wstring SidText(PSID sid) {
  LPWSTR text = nullptr;
  if (!sid || !ConvertSidToStringSidW(sid, &text)) return L"";
  std::unique_ptr<void, platform::LocalFreeDeleter> keep(text);
  return text;
}

std::wstring ProcessUser() {
  BYTE sid[SECURITY_MAX_SID_SIZE];
  return platform::CurrentUserSid(sid) ? SidText(sid) : L"";
}

platform::FolderDescriptor::Kind KindFor(InstallScope scope) {
  return scope == InstallScope::CurrentUser ? platform::FolderDescriptor::Kind::CurrentUser
                                            : platform::FolderDescriptor::Kind::Administrators;
}

class SystemSecurity : public FolderSecurity {
 public:
  bool CreateFolder(const std::wstring& path, SECURITY_DESCRIPTOR* descriptor) override {
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    return CreateDirectoryW(path.c_str(), &attributes) != FALSE;
  }

  bool SetOwnerAndList(HANDLE folder, PSID owner, PACL list) override {
    return SetSecurityInfo(folder, SE_FILE_OBJECT,
                           OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                           owner, nullptr, list, nullptr) == ERROR_SUCCESS;
  }

  std::wstring OwnerOf(HANDLE folder) override {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(folder, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
      return L"";
    std::unique_ptr<void, platform::LocalFreeDeleter> keep(descriptor);
    return SidText(owner);
  }
};

}  // namespace

FolderSecurity& SystemFolderSecurity() {
  static SystemSecurity security;
  return security;
}

bool CreateProtectedFolder(FolderSecurity& security, const std::wstring& path, InstallScope scope) {
  platform::FolderDescriptor descriptor(KindFor(scope));
  return descriptor && security.CreateFolder(path, descriptor.Get());
}

bool ProtectFolder(FolderSecurity& security, HANDLE folder, InstallScope scope) {
  platform::FolderDescriptor descriptor(KindFor(scope));
  return descriptor && security.SetOwnerAndList(folder, descriptor.Owner(), descriptor.List());
}

bool OwnedAsItsScopeNeeds(FolderSecurity& security, HANDLE folder, InstallScope scope) {
  const std::wstring owner = security.OwnerOf(folder);
  if (owner == L"S-1-5-32-544" || owner == L"S-1-5-18") return true;  // the administrators, the system
  if (owner.empty()) return false;
  // The user's own installation may be theirs. Wine keeps no owner for files
  // and reads every one back as its one user's: there the rule cannot be
  // judged, and every administrator's installation would be refused.
  return (scope == InstallScope::CurrentUser || platform::RunningOnWine()) && owner == ProcessUser();
}

}  // namespace lumorix::setup
