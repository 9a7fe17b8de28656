#pragma once
// The captions a language file sets, in the order they are read, with the
// built-in texts that a missing key, file or path gives. A key present with an
// empty value gives an empty caption.
#include <array>
#include <optional>
#include <span>
#include <string>

#include "common/ini_file.h"

namespace lumorix {

enum class Caption {
  BtShowPlayList,
  BtSCC,
  CBRunWithStartUp,
  File,
  Languages,
  Show,
  Help,
  About,
  Open,  // the File menu's "Open"; the tray's is ItOpen below
  GBPreview,
  GBSound,
  LBalance,
  LVolume,
  GBVideo,
  LRate,
  LTime,
  GBScreenSaver,
  CBRSS,
  LBrightness,
  LContrast,
  LGamma,
  LHue,
  LSaturation,
  LSharpness,
  BDefault,
  ItPlay,
  ItPause,
  ItNext,
  ItPrevious,
  ItOpen,
  ItOptions,
  ItExit,
  // The Show menu's switches of the automatic pause.
  ItPauseWhenCovered,
  ItPauseOnBattery,
  ItPauseWhenLocked,
  ItPauseWhenRemote,
  // The Show menu's choice of monitors.
  ItShowOnPrimary,
  ItShowOnEvery,
  ItShowAcross,
  ItShowEachOwnList,
  // The hint shown when the desktop's wallpaper layer cannot be found.
  WallpaperLayerMissing,
  // The Show menu's "Transition" and its choices, in the order of kTransitionChoices.
  ItTransition,
  ItTransitionNone,
  ItTransitionFade05,
  ItTransitionFade1,
  ItTransitionFade2,
  // The Show menu's "Change clip every" and its choices, in the order of kChangeEveryChoices.
  ItChangeEvery,
  ItChangeOff,
  ItChange1,
  ItChange5,
  ItChange10,
  ItChange15,
  ItChange30,
  ItChange60,
};
inline constexpr size_t kCaptionCount = 54;

struct CaptionKey {
  const char* section;
  const char* key;
  const char* builtIn;
};
const CaptionKey& CaptionKeyOf(Caption caption);
// Every key a language file is read from.
std::span<const IniKey> LanguageKeys();

class LanguageTexts {
 public:
  // The built-in texts.
  LanguageTexts() = default;
  explicit LanguageTexts(const IniFile& ini);

  // The file's text, or the built-in one when the file has no such key.
  std::string Text(Caption caption) const;
  bool FromFile(Caption caption) const { return texts_[static_cast<size_t>(caption)].has_value(); }

 private:
  std::array<std::optional<std::string>, kCaptionCount> texts_;
};

}  // namespace lumorix
