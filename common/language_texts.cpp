#include "common/language_texts.h"

#include <vector>

namespace lumorix {

namespace {

// "&Paly" is the tray's built-in text for Play, as shipped; a language file corrects it.
constexpr std::array<CaptionKey, kCaptionCount> kKeys = {{
    {"Main", "BtShowPlayList", "PlayList"},
    {"Main", "BtSCC", "Color Control"},
    {"Main", "CBRunWithStartUp", "Add to StartUp"},
    {"MainMenu", "File", "&File"},
    {"MainMenu", "Languages", "&Languages"},
    {"MainMenu", "Show", "&Show"},
    {"MainMenu", "Help", "&Help"},
    {"MainMenu", "About", "&About"},
    {"TrayPopUp", "Open", "&Open"},
    {"GBPreview", "GBPreview", "Preview"},
    {"GBSound", "GBSound", "Sound Settings"},
    {"GBSound", "LBalance", "Balance"},
    {"GBSound", "LVolume", "Volume"},
    {"GBVideo", "GBVideo", "Video"},
    {"GBVideo", "LRate", "Rate"},
    {"GBVideo", "LTime", "Time"},
    {"GBScreenSaver", "GBScreenSaver", "ScreenSaver"},
    {"GBScreenSaver", "CBRSS", "Replace Screen Saver"},
    {"ColorControl", "LBrightness", "Brightness"},
    {"ColorControl", "LContrast", "Contrast"},
    {"ColorControl", "LGamma", "Gamma"},
    {"ColorControl", "LHue", "Hue"},
    {"ColorControl", "LSaturation", "Saturation"},
    {"ColorControl", "LSharpness", "Sharpness"},
    {"ColorControl", "BDefault", "Default"},
    {"TrayPopUp", "Play", "&Paly"},
    {"TrayPopUp", "Pause", "&Pause"},
    {"TrayPopUp", "Next", "&Next"},
    {"TrayPopUp", "Previous", "P&revious"},
    {"TrayPopUp", "Open", "&Open"},
    {"TrayPopUp", "Settings", "&Settings"},
    {"TrayPopUp", "Exit", "&Exit"},
    {"MainMenu", "PauseWhenCovered", "Pause when covered by a &window"},
    {"MainMenu", "PauseOnBattery", "Pause on &battery"},
    {"MainMenu", "PauseWhenLocked", "Pause when loc&ked or the display is off"},
    {"MainMenu", "PauseWhenRemote", "Pause in a &remote session"},
    {"MainMenu", "ShowOnPrimary", "Show on the &primary monitor"},
    {"MainMenu", "ShowOnEvery", "Show on &every monitor"},
    {"MainMenu", "ShowAcross", "Show &across all monitors"},
    {"MainMenu", "ShowEachOwnList", "Show on each monitor its &own playlist"},
    {"Hints", "WallpaperLayerMissing", "The desktop's wallpaper layer was not found; still looking for it."},
    {"MainMenu", "Transition", "&Transition"},
    {"MainMenu", "TransitionNone", "&None"},
    {"MainMenu", "Crossfade05", "Crossfade &0.5 s"},
    {"MainMenu", "Crossfade1", "Crossfade &1 s"},
    {"MainMenu", "Crossfade2", "Crossfade &2 s"},
    {"MainMenu", "ChangeClipEvery", "C&hange clip every"},
    {"MainMenu", "ChangeClipOff", "&Off"},
    {"MainMenu", "ChangeClip1", "&1 minute"},
    {"MainMenu", "ChangeClip5", "&5 minutes"},
    {"MainMenu", "ChangeClip10", "1&0 minutes"},
    {"MainMenu", "ChangeClip15", "15 m&inutes"},
    {"MainMenu", "ChangeClip30", "&30 minutes"},
    {"MainMenu", "ChangeClip60", "&60 minutes"},
}};

}  // namespace

const CaptionKey& CaptionKeyOf(Caption caption) { return kKeys[static_cast<size_t>(caption)]; }

std::span<const IniKey> LanguageKeys() {
  static const std::vector<IniKey> keys = [] {
    std::vector<IniKey> all;
    for (const CaptionKey& caption : kKeys) all.push_back({caption.section, caption.key});
    return all;
  }();
  return keys;
}

LanguageTexts::LanguageTexts(const IniFile& ini) {
  for (size_t i = 0; i < kCaptionCount; ++i) texts_[i] = ini.Find(kKeys[i].section, kKeys[i].key);
}

std::string LanguageTexts::Text(Caption caption) const {
  const std::optional<std::string>& text = texts_[static_cast<size_t>(caption)];
  return text ? *text : CaptionKeyOf(caption).builtIn;
}

}  // namespace lumorix
