#include "platform/registry.h"

#include <vector>

#include "platform/text.h"

namespace lumorix {

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
  if (this != &other) {
    Close();
    key_ = other.Release();
  }
  return *this;
}

void RegistryKey::Close() {
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
}

RegistryKey RegistryKey::Create(HKEY root, const std::string& path, REGSAM access) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return {};
  return RegistryKey(key);
}

RegistryKey RegistryKey::Open(HKEY root, const std::string& path, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, Widen(path).c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
  return RegistryKey(key);
}

static bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

std::optional<RawValue> RegistryKey::Read(const std::string& name) const {
  if (!key_) return std::nullopt;
  std::wstring wideName = Widen(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  std::vector<uint8_t> bytes(size);
  if (size > 0 && RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  bytes.resize(size);
  RawValue value{type, {}};
  if (IsString(type)) {
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    std::string utf8 = Narrow(text);
    value.data.assign(utf8.begin(), utf8.end());
    if (!bytes.empty()) value.data.push_back(0);
  } else {
    value.data = std::move(bytes);
  }
  return value;
}

bool RegistryKey::Write(const std::string& name, const RawValue& value) const {
  if (!key_) return false;
  std::wstring wideName = Widen(name);
  if (IsString(value.type)) {
    std::string utf8(value.data.begin(), value.data.end());
    while (!utf8.empty() && utf8.back() == '\0') utf8.pop_back();
    std::wstring text = Widen(utf8);
    return RegSetValueExW(key_, wideName.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }
  return RegSetValueExW(key_, wideName.c_str(), 0, value.type, value.data.data(),
                        static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const std::string& name) const {
  return key_ && RegDeleteValueW(key_, Widen(name).c_str()) == ERROR_SUCCESS;
}

}  // namespace lumorix
