#pragma once
// The borderless form that hosts the picture on one monitor (or on the union
// of them) for desktop and full-screen playback. Its geometry is in physical
// pixels. Without an overlay it is itself the desktop picture:
// inside the shell's wallpaper layer behind the icons, or, with no such
// layer, the bottom-most window that never takes the focus.
#include <functional>

#include "player/desktop/wallpaper_layer.h"
#include "ui/form.h"

namespace lumorix::desktop {

class TFullScrinForm : public ui::Form {
 public:
  explicit TFullScrinForm(COLORREF color);

  // Below every window, never activated.
  void SetBackdrop(bool backdrop);
  bool Backdrop() const { return backdrop_; }
  // A child of the shell's wallpaper layer covering `monitor` (screen coordinates),
  // shown; false when the layer refuses it. In the composed layout it is made
  // a child first and layered (opaque) afterwards, under the icon view.
  bool HostInLayer(const WallpaperLayer& layer, const RECT& monitor);
  // Puts the style or the place in the order right again, in the layer it is in.
  void MendInLayer(const WallpaperLayer& layer, const LayerRepair& repair);
  // Top level again, hidden.
  void LeaveLayer();
  bool InLayer() const { return inLayer_; }
  // The layer it was put into last.
  const WallpaperLayer& Layer() const { return layer_; }
  void CoverMonitor(const RECT& monitor);
  // The video window is going away: the form may close.
  void AllowClose() { closing_ = true; }

  // The shell destroyed the layer, and this form with it: the children must
  // be taken out before they go too.
  std::function<void()> OnParentLost;
  // Paints the form's picture itself (a host that shows a copy of another's).
  std::function<void(HDC dc, const RECT& client)> OnPaintPicture;
  // The monitor's scale changed: the owner fits the form again, in physical
  // pixels, instead of taking the size the system suggests.
  std::function<void()> OnScaleChanged;
  // Presses on a form that shows a copy go to the window with the picture
  // (a double click there ends the screen-saver mode, whichever monitor it was on).
  HWND ClicksTo = nullptr;

 protected:
  void FormCloseQuery(bool& canClose) override { canClose = closing_; }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void SendToBottom();
  void SetLayered(bool layered);

  bool backdrop_ = false;
  bool inLayer_ = false;
  bool closing_ = false;
  LONG topLevelStyle_ = 0;
  WallpaperLayer layer_;
};

}  // namespace lumorix::desktop
