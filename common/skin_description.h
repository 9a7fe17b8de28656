#pragma once
// What a skin's "Skin.ini" says: its name, the window colour, the seven
// picture buttons with their places and the playlist's four tool-button
// bitmaps. Missing keys take their defaults here; the window applies the rest.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "common/ini_file.h"

namespace lumorix {

// The picture buttons in the order a skin is applied.
enum class SkinButton { Previous, Play, Pause, Stop, Next, PL, CC };
inline constexpr size_t kSkinButtonCount = 7;

struct SkinPicture {
  std::string file;  // relative to the skin folder
  int32_t left = 0;
  int32_t top = 0;
};

struct SkinDescription {
  std::string colorText;  // a colour name or an integer; checked when applied
  std::array<SkinPicture, kSkinButtonCount> pictures;
  std::array<std::string, 4> toolButtons;  // add, delete, repeat, random
};

// Every key a skin's description is read from.
std::span<const IniKey> SkinKeys();
// The menu caption of a skin: "Name" of "Info", at most 255 characters, "NoName" by default.
std::string SkinName(const IniFile& ini);
// `currentColorText` is the window's colour as text, the default of a missing "Color".
SkinDescription ReadSkinDescription(const IniFile& ini, const std::string& currentColorText);
// The INI section of a picture button.
const char* SkinSection(SkinButton button);

// The failures of applying a skin, in the framework's words.
std::string CannotOpenFileMessage(const std::string& fileName);
std::string UnknownPictureExtensionMessage(const std::string& extension);
std::string NotAnIntegerMessage(const std::string& text);
// A picture whose header claims more than a skin's picture may have.
std::string PictureTooLargeMessage(const std::string& fileName, uint32_t width, uint32_t height);

}  // namespace lumorix
