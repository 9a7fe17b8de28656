#pragma once
// One host of desktop or full-screen playback: a borderless form over one
// monitor (or over the union of them), inside the shell's wallpaper layer,
// as the bottom-most backdrop, or on top for full screen. It holds either the
// video window or a copy of its picture.
#include <memory>
#include <optional>
#include <vector>

#include "player/desktop/full_screen_form.h"
#include "player/desktop/wallpaper_layer.h"

namespace lumorix::desktop {

class DesktopHost {
 public:
  enum class Place { Hidden, Layer, Backdrop, FullScreen };

  explicit DesktopHost(COLORREF color);
  ~DesktopHost();
  DesktopHost(const DesktopHost&) = delete;
  DesktopHost& operator=(const DesktopHost&) = delete;

  // Made again when the shell destroyed the last one with its layer.
  TFullScrinForm& Form();
  HWND Handle() { return Form().Handle(); }
  Place Where() const { return place_; }
  const RECT& Area() const { return area_; }

  // Behind the icons inside `layer` when there is one; else the bottom-most
  // backdrop when `backdrop` is allowed; else hidden.
  void ShowOnDesktop(const RECT& area, const std::optional<WallpaperLayer>& layer, bool backdrop);
  void ShowFullScreen(const RECT& area, bool topMost);
  // Over `area`, shown (the overlay's geometry comes from the window inside).
  void Cover(const RECT& area);
  void Hide();

  // Shows a copy of the picture, letter-boxed; null: none (the form's colour).
  // Presses on it go to `picture`, the window with the picture itself.
  void ShowCopy(std::shared_ptr<const std::vector<BYTE>> dib, HWND picture);

  std::function<void()> OnParentLost;
  std::function<void()> OnScaleChanged;

 private:
  // A top-level form over `area`, shown with `show`.
  void ShowOver(const RECT& area, bool topMost, int show);
  void PaintCopy(HDC dc, const RECT& client);

  COLORREF color_;
  std::unique_ptr<TFullScrinForm> form_;
  Place place_ = Place::Hidden;
  RECT area_{};
  std::shared_ptr<const std::vector<BYTE>> copy_;
  HWND picture_ = nullptr;
};

}  // namespace lumorix::desktop
