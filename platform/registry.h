#pragma once
// A registry key owned for its lifetime, with the raw value access the
// settings codecs build on. String data crosses this seam as UTF-8.
#include <windows.h>

#include <optional>
#include <string>

#include "common/settings_value.h"

namespace lumorix {

class RegistryKey {
 public:
  RegistryKey() = default;
  explicit RegistryKey(HKEY key) : key_(key) {}
  RegistryKey(RegistryKey&& other) noexcept : key_(other.Release()) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() { Close(); }

  // Keys are opened in the registry view of the process's own kind (the
  // 64-bit one for the x64 programs, the 32-bit one for the 32-bit programs),
  // so that the programs of one build meet in the same keys; `access` may
  // name the other view (KEY_WOW64_32KEY, KEY_WOW64_64KEY) explicitly.
  // Opens `path` under `root`, creating it when missing. An empty key on failure.
  // The access asked for by default is reading and writing values and making
  // subkeys: never the right to change the key's owner or permissions.
  static RegistryKey Create(HKEY root, const std::string& path, REGSAM access = KEY_READ | KEY_WRITE);
  // Opens an existing key only.
  static RegistryKey Open(HKEY root, const std::string& path, REGSAM access = KEY_READ | KEY_WRITE);

  explicit operator bool() const { return key_ != nullptr; }
  HKEY Get() const { return key_; }
  void Close();
  HKEY Release() {
    HKEY key = key_;
    key_ = nullptr;
    return key;
  }

  // The value's type and bytes, or nothing when there is no key or no value.
  std::optional<RawValue> Read(const std::string& name) const;
  [[nodiscard]] bool Write(const std::string& name, const RawValue& value) const;
  [[nodiscard]] bool DeleteValue(const std::string& name) const;

 private:
  HKEY key_ = nullptr;
};

}  // namespace lumorix
