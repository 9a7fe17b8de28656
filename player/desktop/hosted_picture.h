#pragma once
// What a desktop host asks of the window whose picture it hosts (the video
// window, which keeps the renderer).
#include <windows.h>

#include <vector>

namespace lumorix::desktop {

class HostedPicture {
 public:
  virtual HWND PictureWindow() const = 0;
  // The overlay shows the picture through the desktop's colour key.
  virtual bool PictureThroughOverlay() const = 0;
  virtual COLORREF PictureColorKey() const = 0;
  // Puts the window into `parent` at `bounds` (parent coordinates).
  virtual void PictureMoveTo(HWND parent, const RECT& bounds) = 0;
  // The window is at its new place: the renderer's window follows.
  virtual void PicturePlaced() = 0;
  // The host is being destroyed under the window: the window and the renderer's
  // go to `parent`, hidden, before they go too.
  virtual void PictureRescued(HWND parent) = 0;
  // The picture shown now, as a packed DIB (header, then pixels); false when
  // there is none, or nothing new since the last call.
  virtual bool PictureFrame(std::vector<BYTE>& dib) = 0;

 protected:
  ~HostedPicture() = default;
};

}  // namespace lumorix::desktop
