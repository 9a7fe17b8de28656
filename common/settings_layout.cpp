#include "settings_layout.h"

namespace lumorix {

std::vector<SettingsDefault> InstallerDefaults(bool startUpWithWindows) {
  // Eight '0' characters: read as a double this is no rate the player offers,
  // so a fresh installation starts at normal speed.
  RawValue rate{kRegBinary, std::vector<uint8_t>(8, 0x30)};
  return {
      {kSettingsKey, "Replace Screen Saver", EncodeInteger(0)},
      {kSettingsKey, "StartUp", EncodeInteger(startUpWithWindows ? 1 : 0)},
      {kAudioKey, "Volume", EncodeInteger(10000)},
      {kAudioKey, "Balance", EncodeInteger(0)},
      {kAudioKey, "ColorControlVisible", EncodeInteger(0)},
      {kAudioKey, "PlayListVisible", EncodeInteger(1)},
      {kColorKey, "Brightness", EncodeInteger(75)},
      {kColorKey, "Contrast", EncodeInteger(1000)},
      {kColorKey, "Gamma", EncodeInteger(1)},
      {kColorKey, "Hue", EncodeInteger(0)},
      {kColorKey, "Saturation", EncodeInteger(1000)},
      {kColorKey, "Sharpness", EncodeInteger(5)},
      {kPlayListKey, "PlayingIndex", EncodeInteger(0)},
      {kPlayListKey, "Random", EncodeInteger(0)},
      {kPlayListKey, "Repeat", EncodeInteger(0)},
      {kVideoKey, "Position", EncodeInteger(0)},
      {kVideoKey, "Rate", rate},
  };
}

}  // namespace lumorix
