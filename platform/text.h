#pragma once
// Conversions between the program's UTF-8 strings and Windows' UTF-16.
#include <optional>
#include <string>
#include <string_view>

namespace lumorix {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// Single-byte texts of the system's ANSI code page (INI files, playlist records).
std::wstring AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::wstring_view utf16);
// The ANSI form of a text only when every character has an exact one (no "?"
// and no best-fit look-alike letters).
std::optional<std::string> ExactAnsi(std::wstring_view utf16);

// The system's own words for an error code, without the final full stop and line break.
std::wstring SystemMessage(unsigned long error);

}  // namespace lumorix
