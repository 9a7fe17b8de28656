#pragma once
// Where the player's settings live: one tree per user (HKEY_CURRENT_USER),
// seeded from the installer's defaults in the same tree under HKEY_LOCAL_MACHINE.
#include <string>
#include <vector>

#include "settings_value.h"

namespace lumorix {

inline constexpr const char* kSettingsKey = "Software\\Vantrel\\Lumorix";
inline constexpr const char* kAudioKey = "Software\\Vantrel\\Lumorix\\Audio";
inline constexpr const char* kColorKey = "Software\\Vantrel\\Lumorix\\Color";
inline constexpr const char* kVideoKey = "Software\\Vantrel\\Lumorix\\Video";
inline constexpr const char* kPlayListKey = "Software\\Vantrel\\Lumorix\\PlayList";

// The automatic pause's switches, in the settings key. The installer does
// not write them: a missing one reads as on (DecodeSwitch).
inline constexpr const char* kPauseWhenCovered = "PauseWhenCovered";
inline constexpr const char* kPauseOnBattery = "PauseOnBattery";
inline constexpr const char* kPauseWhenLocked = "PauseWhenLocked";
inline constexpr const char* kPauseWhenRemote = "PauseWhenRemote";
// Which monitors desktop playback shows on (ShowOn); unreadable reads as the primary.
inline constexpr const char* kShowOn = "ShowOn";
// In the playlist key, beside the modes: milliseconds of crossfade between
// clips, and minutes after which the next clip takes over (0: off).
inline constexpr const char* kTransition = "Transition";
inline constexpr const char* kChangeClipEvery = "ChangeClipEvery";

struct SettingsDefault {
  const char* key;
  const char* name;
  RawValue value;
};

// The values a fresh installation seeds, top to bottom. "Language" and "Skin"
// are not among them: the player's own empty defaults apply.
std::vector<SettingsDefault> InstallerDefaults(bool startUpWithWindows);

}  // namespace lumorix
