#include "common/skin_description.h"

#include "common/color_names.h"
#include "common/picture_header.h"

#include <vector>

namespace lumorix {

namespace {

struct PictureDefault {
  const char* section;
  const char* file;
  int32_t left;
  int32_t top;
};

constexpr std::array<PictureDefault, kSkinButtonCount> kPictureDefaults = {{
    {"Previous", "Previous.png", 8, 376},
    {"Play", "Play.png", 80, 376},
    {"Pause", "Pause.png", 152, 376},
    {"Stop", "Stop.png", 224, 376},
    {"Next", "Next.png", 296, 376},
    {"PL", "PlayList.png", 376, 376},
    {"CC", "ColorControl.png", 376, 408},
}};

constexpr std::array<std::array<const char*, 2>, 4> kToolButtons = {{
    {"Add", "Add.bmp"},
    {"Del", "Del.bmp"},
    {"Rep", "Rep.bmp"},
    {"Rand", "Rand.bmp"},
}};

int32_t ReadInteger(const IniFile& ini, const char* section, const char* key, int32_t fallback) {
  std::optional<std::string> text = ini.Find(section, key);
  if (!text) return fallback;
  return ParseInteger(*text).value_or(fallback);
}

}  // namespace

std::span<const IniKey> SkinKeys() {
  static const std::vector<IniKey> keys = [] {
    std::vector<IniKey> all = {{"Info", "Name"}, {"MainForm", "Color"}};
    for (const PictureDefault& picture : kPictureDefaults)
      for (const char* key : {"Img", "Left", "Top"}) all.push_back({picture.section, key});
    for (const auto& tool : kToolButtons) all.push_back({"TB", tool[0]});
    return all;
  }();
  return keys;
}

const char* SkinSection(SkinButton button) { return kPictureDefaults[static_cast<size_t>(button)].section; }

std::string SkinName(const IniFile& ini) { return ini.ReadString("Info", "Name", "NoName", 256); }

SkinDescription ReadSkinDescription(const IniFile& ini, const std::string& currentColorText) {
  SkinDescription skin;
  skin.colorText = ini.ReadString("MainForm", "Color", currentColorText);
  for (size_t i = 0; i < kSkinButtonCount; ++i) {
    const PictureDefault& given = kPictureDefaults[i];
    skin.pictures[i].file = ini.ReadString(given.section, "Img", given.file);
    skin.pictures[i].left = ReadInteger(ini, given.section, "Left", given.left);
    skin.pictures[i].top = ReadInteger(ini, given.section, "Top", given.top);
  }
  for (size_t i = 0; i < kToolButtons.size(); ++i)
    skin.toolButtons[i] = ini.ReadString("TB", kToolButtons[i][0], kToolButtons[i][1]);
  return skin;
}

std::string CannotOpenFileMessage(const std::string& fileName) { return "Cannot open file " + fileName; }

std::string UnknownPictureExtensionMessage(const std::string& extension) {
  return "Unknown picture file extension (." + extension + ")";
}

std::string NotAnIntegerMessage(const std::string& text) { return "'" + text + "' is not a valid integer value"; }

std::string PictureTooLargeMessage(const std::string& fileName, uint32_t width, uint32_t height) {
  return "Picture " + fileName + " is too large (" + std::to_string(width) + " x " + std::to_string(height) +
         " pixels; a skin's pictures have at most " + std::to_string(kMaxSkinPictureSide) + " a side)";
}

}  // namespace lumorix
