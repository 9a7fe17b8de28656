#pragma once
// How the player's settings travel through the registry: the value types on
// the wire and the reading rules of the registry access the player uses.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumorix {

// Registry value type numbers, as the registry reports them.
enum RegistryType : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
};

// A value as read from the registry: its type and its raw bytes.
struct RawValue {
  uint32_t type = kRegNone;
  std::vector<uint8_t> data;
};

// Raised when a value cannot be read or written; the message names the value.
class SettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string FailedToGetData(const std::string& name);
std::string InvalidDataType(const std::string& name);
std::string FailedToSetData(const std::string& name);

// Reading rules. `value` is empty when the value does not exist.
// Strings: missing or empty read as ""; a type other than REG_SZ/REG_EXPAND_SZ fails.
std::string DecodeString(const std::string& name, const std::optional<RawValue>& value);
// Integers and bools: must exist as a REG_DWORD of at most 4 bytes.
int32_t DecodeInteger(const std::string& name, const std::optional<RawValue>& value);
bool DecodeBool(const std::string& name, const std::optional<RawValue>& value);
// A switch added after the installer's layout: any value that is not a REG_DWORD
// of at most 4 bytes (a missing one above all) reads as `fallback`, never fails.
bool DecodeSwitch(const std::optional<RawValue>& value, bool fallback);
// Floats: must be REG_BINARY of exactly 8 bytes, a little-endian IEEE-754 double.
double DecodeFloat(const std::string& name, const std::optional<RawValue>& value);

// Writing: the bytes put on the wire for each kind.
RawValue EncodeString(const std::string& text);  // REG_SZ with its terminating zero
RawValue EncodeInteger(int32_t number);
RawValue EncodeBool(bool flag);  // 0 or 1
RawValue EncodeFloat(double number);

}  // namespace lumorix
