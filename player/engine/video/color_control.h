#pragma once
// The picture adjustments of a video window, written to the overlay
// hardware through the Overlay Mixer's input pin, or to the enhanced
// renderer's mixer (its ProcAmp) when the window draws through that.
#include <windows.h>
#include <ddraw.h>

#include <functional>

#include "common/color_ranges.h"
#include "platform/com.h"
#include "player/engine/render/mixer_color.h"

namespace lumorix::engine {

class TFilterGraph;

// DirectDraw colour-control flags.
enum : DWORD {
  kColorBrightness = 0x01,
  kColorContrast = 0x02,
  kColorHue = 0x04,
  kColorSaturation = 0x08,
  kColorSharpness = 0x10,
  kColorGamma = 0x20,
  kColorEnable = 0x40,
  kAllColorControls = 0x7F,
};

// The mixer the values go to instead of the overlay: `used` while the window
// draws through a renderer with a mixer; `processor` empty where that mixer
// has no picture controls (then nothing can be adjusted).
struct ColorMixer {
  bool used = false;
  ComPtr<IMFVideoProcessor> processor;
};

class TColorControl {
 public:
  // `graph` gives the graph the owning window belongs to (may be null);
  // `mixer` the renderer's mixer, when the window has one.
  explicit TColorControl(std::function<TFilterGraph*()> graph, std::function<ColorMixer()> mixer = {});

  void SetBrightness(int value);
  void SetContrast(int value);
  void SetHue(int value);
  void SetSaturation(int value);
  void SetSharpness(int value);
  void SetGamma(int value);
  void SetColorEnable(bool enable);
  int Brightness();
  int Contrast();
  int Hue();
  int Saturation();
  int Sharpness();
  int Gamma();
  bool ColorEnable();

  // The overlay's own values become the defaults; on a mixer, what it can
  // move becomes the capabilities and the defaults stay the normal values.
  void ReadDefaults();
  void ApplyColors();
  void ReadColors();
  void RestoreDefault();
  const DDCOLORCONTROL& Defaults() const { return defaults_; }

 private:
  bool Live() const;
  ColorMixer Mixer() const { return mixer_ ? mixer_() : ColorMixer{}; }
  void SetChecked(int& field, int value, ColorSetting setting);

  std::function<TFilterGraph*()> graph_;
  std::function<ColorMixer()> mixer_;
  MixerColor mixerColor_;
  int brightness_ = 750;
  int contrast_ = 10000;
  int hue_ = 0;
  int saturation_ = 10000;
  int sharpness_ = 5;
  int gamma_ = 1;
  bool colorEnable_ = true;
  DDCOLORCONTROL defaults_;
};

}  // namespace lumorix::engine
