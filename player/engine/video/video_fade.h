#pragma once
// The crossfade from one clip to the next: a layered window laid over the
// picture, showing the old clip's last picture ever more transparent over
// the new clip, which plays beneath it, until the new clip shows alone (the
// system composes the two; child windows are layered from Windows 8 on). It
// starts fully opaque, so the moment it appears changes nothing on the screen.
#include <windows.h>

#include <functional>
#include <vector>

#include "ui/timer.h"
#include "ui/window.h"

namespace lumorix::engine {

// The picture a window shows, read from the window's surface, as a packed DIB:
// what a renderer drawing through DirectDraw gives when it refuses GetCurrentImage.
bool CaptureWindowPicture(HWND window, std::vector<BYTE>& dib);

class VideoFade : public ui::Window {
 public:
  // Over `bounds` of `parent`, above its other children: the old clip's last
  // picture, made more transparent step by step over `durationMs` while the
  // new clip plays beneath it.
  VideoFade(HWND parent, const RECT& bounds, std::vector<BYTE> oldPicture, int durationMs);
  ~VideoFade() override;

  // How opaque the old picture still is, 255 .. 0.
  int Opacity() const { return opacity_; }
  bool Done() const { return opacity_ == 0; }
  // Called once the new picture shows alone; the fade may be destroyed then.
  std::function<void()> OnDone;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Step();

  std::vector<BYTE> old_;
  int durationMs_;
  DWORD startTick_;
  int opacity_ = 255;
  ui::Timer timer_{20};
};

}  // namespace lumorix::engine
