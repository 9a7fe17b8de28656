#pragma once
// Colours as skins write them: one of 49 names, or an integer read as
// $00BBGGRR. Names of system colours stand for $80000000 plus the colour's
// COLOR_ index; the window paints them with the system's current colour.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumorix {

inline constexpr uint32_t kSystemColorFlag = 0x80000000u;

// An integer in decimal, or hexadecimal after "$" or "0x", with an optional
// sign; hexadecimal takes all 32 bits. Nothing for any other text, blanks
// included, or a value outside 32 bits.
std::optional<int32_t> ParseInteger(std::string_view text);

// The value of a colour name (any case), or nothing.
std::optional<uint32_t> ColorFromName(std::string_view name);
// The colour's name, or nothing when it has none.
std::optional<std::string> ColorName(uint32_t color);

// A colour name or an integer; nothing for any other text.
std::optional<uint32_t> ColorFromText(std::string_view text);
// The colour's name, or "$" and eight hexadecimal digits.
std::string ColorToText(uint32_t color);

}  // namespace lumorix
