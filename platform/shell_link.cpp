#include "platform/shell_link.h"

#include <shlobj.h>

#include <algorithm>
#include <stdexcept>

#include "platform/registry.h"
#include "platform/text.h"

namespace lumorix {

ComPtr<IPersistFile> CreateShortcut(const std::wstring& target, const std::wstring& arguments,
                                    const std::wstring& workingFolder, const std::wstring& linkFile) {
  ComPtr<IShellLinkA> link;
  HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link));
  if (FAILED(created)) throw std::runtime_error("Cannot create the shell link object");
  ComPtr<IPersistFile> file;
  (void)link.As(&file);
  (void)link->SetPath(WideToAnsi(target).c_str());
  (void)link->SetArguments(WideToAnsi(arguments).c_str());
  (void)link->SetWorkingDirectory(WideToAnsi(workingFolder).c_str());
  if (file) (void)file->Save(linkFile.c_str(), FALSE);
  return file;
}

std::wstring ShortcutTarget(const std::wstring& linkFile) {
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
      FAILED(link.As(&file)) || FAILED(file->Load(linkFile.c_str(), STGM_READ)))
    return L"";
  wchar_t target[MAX_PATH] = {};
  // As stored: the link is neither resolved nor searched for.
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return L"";
  return target;
}

std::wstring ReadRegistryString(HKEY key, const std::string& name) {
  if (!key) return {};
  RegistryKey view(key);
  std::optional<RawValue> value = view.Read(name);
  (void)view.Release();  // the caller keeps the key
  if (!value || (value->type != kRegSz && value->type != kRegExpandSz)) return {};
  std::wstring text = Widen(std::string(value->data.begin(), value->data.end()));
  if (value->type == kRegExpandSz) {
    std::wstring expanded(32768, L'\0');
    DWORD length = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
    expanded.resize(length);
    text = expanded;
  }
  // A registry string ends at its first NUL, as Windows reads it; the stored
  // and the expanded value both carry a terminator.
  text.resize(std::min(text.find(L'\0'), text.size()));
  return text;
}

std::wstring UserShellFolder(const std::string& name) {
  RegistryKey folders = RegistryKey::Open(
      HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User shell folders", KEY_READ);
  return ReadRegistryString(folders.Get(), name);
}

}  // namespace lumorix
