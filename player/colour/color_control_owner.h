#pragma once
// What the colour-control window needs of the player that owns it.
#include <string>

#include "player/engine/video/video_window.h"

namespace lumorix {

class IColorControlOwner {
 public:
  virtual engine::TColorControl& VideoColorControl() = 0;
  virtual const engine::TDSVideoWindowEx2Caps& VideoCapabilities() = 0;
  virtual void ShowHint(const std::wstring& text) = 0;
  // The user closed the colour-control window itself.
  virtual void ColorControlWindowClosed() = 0;

 protected:
  ~IColorControlOwner() = default;
};

}  // namespace lumorix
