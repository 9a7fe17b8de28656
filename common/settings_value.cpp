#include "settings_value.h"

#include <cstring>

#include "format.h"

namespace lumorix {

std::string FailedToGetData(const std::string& name) { return Format("Failed to get data for '%s'", name.c_str()); }
std::string InvalidDataType(const std::string& name) { return Format("Invalid data type for '%s'", name.c_str()); }
std::string FailedToSetData(const std::string& name) { return Format("Failed to set data for '%s'", name.c_str()); }

std::string DecodeString(const std::string& name, const std::optional<RawValue>& value) {
  if (!value || value->data.empty()) return {};
  if (value->type != kRegSz && value->type != kRegExpandSz) throw SettingsError(InvalidDataType(name));
  const auto& bytes = value->data;
  size_t length = 0;
  while (length < bytes.size() && bytes[length] != 0) ++length;
  return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

// The registry reads into a buffer of the wanted size: a larger value does not
// fit ("failed to get data") before its type is even looked at.
static const RawValue& FixedSizeValue(const std::string& name, const std::optional<RawValue>& value, size_t capacity) {
  if (!value || value->data.size() > capacity) throw SettingsError(FailedToGetData(name));
  return *value;
}

int32_t DecodeInteger(const std::string& name, const std::optional<RawValue>& value) {
  const RawValue& raw = FixedSizeValue(name, value, 4);
  if (raw.type != kRegDword) throw SettingsError(InvalidDataType(name));
  uint32_t number = 0;
  for (size_t i = 0; i < raw.data.size(); ++i) number |= uint32_t{raw.data[i]} << (8 * i);
  return static_cast<int32_t>(number);
}

bool DecodeBool(const std::string& name, const std::optional<RawValue>& value) {
  return DecodeInteger(name, value) != 0;
}

bool DecodeSwitch(const std::optional<RawValue>& value, bool fallback) {
  if (!value || value->type != kRegDword || value->data.empty() || value->data.size() > 4) return fallback;
  return DecodeInteger({}, value) != 0;
}

double DecodeFloat(const std::string& name, const std::optional<RawValue>& value) {
  const RawValue& raw = FixedSizeValue(name, value, 8);
  if (raw.type != kRegBinary || raw.data.size() < 8) throw SettingsError(InvalidDataType(name));
  uint64_t bits = 0;
  for (size_t i = 0; i < 8; ++i) bits |= uint64_t{raw.data[i]} << (8 * i);
  double number;
  std::memcpy(&number, &bits, sizeof number);
  return number;
}

RawValue EncodeString(const std::string& text) {
  RawValue raw{kRegSz, std::vector<uint8_t>(text.begin(), text.end())};
  raw.data.push_back(0);
  return raw;
}

RawValue EncodeInteger(int32_t number) {
  auto bits = static_cast<uint32_t>(number);
  RawValue raw{kRegDword, {}};
  for (int i = 0; i < 4; ++i) raw.data.push_back(static_cast<uint8_t>(bits >> (8 * i)));
  return raw;
}

RawValue EncodeBool(bool flag) { return EncodeInteger(flag ? 1 : 0); }

RawValue EncodeFloat(double number) {
  uint64_t bits;
  std::memcpy(&bits, &number, sizeof bits);
  RawValue raw{kRegBinary, {}};
  for (int i = 0; i < 8; ++i) raw.data.push_back(static_cast<uint8_t>(bits >> (8 * i)));
  return raw;
}

}  // namespace lumorix
