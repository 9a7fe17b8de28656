#pragma once
// The one registry object the settings load and save walk the settings tree
// with: the user's own tree (HKEY_CURRENT_USER), one open key at a time. An open that fails
// is not reported; the reads and writes that follow fail instead.
#include <memory>
#include <optional>
#include <string>

#include "common/settings_value.h"
#include "platform/registry.h"

namespace lumorix {

class SettingsRegistry {
 public:
  virtual ~SettingsRegistry() = default;

  // Opens (creating when missing) a key given from the root.
  virtual void OpenKey(const std::string& path);
  // Opens (creating when missing) a key below the open one.
  virtual void OpenSubKey(const std::string& name);
  void CloseKey() { key_.Close(); }

  virtual std::optional<RawValue> Read(const std::string& name) { return key_.Read(name); }
  virtual bool Write(const std::string& name, const RawValue& value) { return key_.Write(name, value); }

  bool ReadBool(const std::string& name) { return DecodeBool(name, Read(name)); }
  int32_t ReadInteger(const std::string& name) { return DecodeInteger(name, Read(name)); }
  std::string ReadString(const std::string& name) { return DecodeString(name, Read(name)); }
  double ReadFloat(const std::string& name) { return DecodeFloat(name, Read(name)); }

  void WriteBool(const std::string& name, bool value) { Put(name, EncodeBool(value)); }
  void WriteInteger(const std::string& name, int32_t value) { Put(name, EncodeInteger(value)); }
  void WriteString(const std::string& name, const std::string& value) { Put(name, EncodeString(value)); }
  void WriteFloat(const std::string& name, double value) { Put(name, EncodeFloat(value)); }

 protected:
  RegistryKey key_;

 private:
  void Put(const std::string& name, const RawValue& value);
};

}  // namespace lumorix

namespace lumorix {
// Replaces the registry the settings load and save use (null: the real one).
// Tests use it to stand in a registry that refuses writes.
void UseSettingsRegistry(SettingsRegistry* registry);
}  // namespace lumorix
