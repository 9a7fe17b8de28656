#pragma once
// One host of desktop or full-screen playback: a borderless form over one
// monitor (or over the union of them), inside the shell's wallpaper layer,
// as the bottom-most backdrop, or on top for full screen. The renderer draws
// the picture into it, or the video window inside it shows the picture.
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

  // `drawn`: the renderer draws into the form itself, which then paints
  // nothing over it. Presses on it go to `picture`, the video window.
  void ShowPicture(bool drawn, HWND picture);

  std::function<void()> OnParentLost;
  std::function<void()> OnScaleChanged;
  // The form the renderer draws into needs its picture again.
  std::function<void(HWND form)> OnRepaint;

 private:
  // A top-level form over `area`, shown with `show`.
  void ShowOver(const RECT& area, bool topMost, int show);

  COLORREF color_;
  std::unique_ptr<TFullScrinForm> form_;
  Place place_ = Place::Hidden;
  RECT area_{};
  bool drawn_ = false;
  HWND picture_ = nullptr;
};

}  // namespace lumorix::desktop
