#include "platform/registry_access.h"

#include <aclapi.h>

#include <memory>
#include <vector>

#include "platform/access_list.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace lumorix {

namespace {

struct LocalDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};

std::unique_ptr<void, LocalDeleter> WellKnownSid(WELL_KNOWN_SID_TYPE type) {
  DWORD size = SECURITY_MAX_SID_SIZE;
  std::unique_ptr<void, LocalDeleter> sid(LocalAlloc(LMEM_FIXED, size));
  if (!sid || !CreateWellKnownSid(type, nullptr, sid.get(), &size)) return nullptr;
  return sid;
}

constexpr ACCESS_MASK kChangeRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC |
                                      WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
// Deeper than any key of the product; a deeper tree is somebody's trap.
constexpr int kMaxDepth = 16;

std::vector<std::wstring> SubkeyNames(HKEY root, const std::wstring& path, REGSAM view) {
  std::vector<std::wstring> names;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), REG_OPTION_OPEN_LINK, KEY_ENUMERATE_SUB_KEYS | view, &opened) != ERROR_SUCCESS)
    return names;
  RegistryKey key(opened);
  for (DWORD index = 0;; ++index) {
    wchar_t name[256] = {};  // the longest key name the registry takes is 255
    DWORD length = 256;
    if (RegEnumKeyExW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

bool DeleteTree(HKEY root, const std::wstring& path, REGSAM view, int depth) {
  if (RemoveRegistryLink(root, Narrow(path), view)) return true;
  if (depth > kMaxDepth) return false;
  bool gone = true;
  for (const std::wstring& name : SubkeyNames(root, path, view))
    gone = DeleteTree(root, path + L"\\" + name, view, depth + 1) && gone;
  LONG deleted = RegDeleteKeyExW(root, path.c_str(), view, 0);
  return gone && (deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND);
}

}  // namespace

bool OnlyAdministratorsChange(HKEY root, const std::string& path, REGSAM view) {
  RegistryKey key = RegistryKey::Open(root, path, READ_CONTROL | WRITE_DAC | WRITE_OWNER | view);
  platform::OwnedAcl list = platform::AdministratorsFullUsersRead(KEY_ALL_ACCESS, KEY_READ);
  auto administrators = WellKnownSid(WinBuiltinAdministratorsSid);
  if (!key || !list || !administrators) return false;
  // The key's own list is replaced as a whole (an earlier grant goes with
  // it); what the parent passes down still applies, as under every key of
  // Software.
  return SetSecurityInfo(key.Get(), SE_REGISTRY_KEY, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                         administrators.get(), nullptr, list.get(), nullptr) == ERROR_SUCCESS;
}

bool UsersMayChange(HKEY root, const std::string& path, REGSAM view) {
  RegistryKey key = RegistryKey::Open(root, path, READ_CONTROL | view);
  auto sid = WellKnownSid(WinBuiltinUsersSid);
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
    if (EqualSid(&allowed->SidStart, sid.get()) && (allowed->Mask & kChangeRights) != 0) return true;
  }
  return false;
}

bool RemoveRegistryLink(HKEY root, const std::string& path, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Widen(path).c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE | DELETE | view, &opened) !=
      ERROR_SUCCESS)
    return false;
  RegistryKey key(opened);
  DWORD type = 0;
  if (RegQueryValueExW(key.Get(), L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS ||
      type != REG_LINK)
    return false;
  // Only the native call deletes the key behind this very handle; the
  // registry functions that take a name would follow the link. ntdll is in
  // every process already, so nothing is loaded here.
  using DeleteKey = LONG(WINAPI*)(HANDLE);
  auto deleteKey = reinterpret_cast<DeleteKey>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
  return deleteKey && deleteKey(key.Get()) == 0;
}

bool DeleteKeyTree(HKEY root, const std::string& path, REGSAM view) { return DeleteTree(root, Widen(path), view, 0); }

}  // namespace lumorix
