#pragma once
// The picture adjustments of a video window, applied by the player's own
// renderer in its shader when the window draws through it (all six, on every
// machine), else written to the overlay hardware through the Overlay Mixer's
// input pin.
#include <windows.h>
#include <ddraw.h>

#include <functional>

#include "common/color_ranges.h"
#include "platform/com.h"
#include "player/engine/render/video_renderer.h"

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

class TColorControl {
 public:
  // `graph` gives the graph the owning window belongs to (may be null);
  // `renderer` the window's renderer, when it has one.
  explicit TColorControl(std::function<TFilterGraph*()> graph, std::function<IVideoRenderer*()> renderer = {});

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

  // The overlay's own values become the defaults; a renderer that adjusts
  // the picture itself can move all six, from the normal values.
  void ReadDefaults();
  void ApplyColors();
  void ReadColors();
  void RestoreDefault();
  const DDCOLORCONTROL& Defaults() const { return defaults_; }

 private:
  bool Live() const;
  // The renderer, when it applies the adjustments itself.
  IVideoRenderer* Shader() const;
  void SetChecked(int& field, int value, ColorSetting setting);

  std::function<TFilterGraph*()> graph_;
  std::function<IVideoRenderer*()> renderer_;
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
