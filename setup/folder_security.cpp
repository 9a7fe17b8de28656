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
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return L"";
  UniqueHandle ownToken(token);
  BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) return L"";
  return SidText(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
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

bool CreateProtectedFolder(FolderSecurity& security, const std::wstring& path) {
  platform::AdministratorsFolderDescriptor descriptor;
  return descriptor && security.CreateFolder(path, descriptor.Get());
}

bool ProtectFolder(FolderSecurity& security, HANDLE folder) {
  platform::AdministratorsFolderDescriptor descriptor;
  return descriptor && security.SetOwnerAndList(folder, descriptor.Owner(), descriptor.List());
}

bool OwnedByAdministrators(FolderSecurity& security, HANDLE folder) {
  const std::wstring owner = security.OwnerOf(folder);
  if (owner == L"S-1-5-32-544" || owner == L"S-1-5-18") return true;  // the administrators, the system
  // Wine keeps no owner for files and reads every one back as its one
  // user's: there the rule cannot be judged, and every administrator's
  // installation would be refused.
  return platform::RunningOnWine() && !owner.empty() && owner == ProcessUser();
}

}  // namespace lumorix::setup
