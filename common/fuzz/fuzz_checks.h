#pragma once
// What must hold for any INI text the readers are given, shared by the fuzz targets.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/ini_file.h"

namespace lumorix::fuzz {

inline std::string_view Bytes(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }

inline bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    auto lead = static_cast<uint8_t>(text[i]);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<uint8_t>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

inline size_t Characters(const IniFile& ini, std::string_view text) {
  if (ini.Encoding() == IniEncoding::Ansi) return text.size();
  size_t count = 0;
  for (char c : text) count += (static_cast<uint8_t>(c) & 0xC0) != 0x80;
  return count;
}

// Keeping only `wanted` changes no answer for them; every answer fits the
// buffer it was asked with; a file that was UTF-16 gives well-formed UTF-8.
inline void CheckKeptKeys(std::string_view contents, std::span<const IniKey> wanted) {
  const IniFile all = IniFile::Parse(contents);
  const IniFile kept = IniFile::Parse(contents, wanted);
  const bool fromUtf16 = contents.starts_with("\xFF\xFE") || contents.starts_with("\xFE\xFF");
  for (const IniKey& key : wanted) {
    for (size_t buffer : {size_t{1}, size_t{4}, IniFile::kBufferSize}) {
      std::optional<std::string> value = kept.Find(key.section, key.key, buffer);
      if (value != all.Find(key.section, key.key, buffer)) __builtin_trap();
      if (value && Characters(kept, *value) > buffer - 1) __builtin_trap();
      if (value && fromUtf16 && !IsUtf8(*value)) __builtin_trap();
    }
  }
}

}  // namespace lumorix::fuzz
