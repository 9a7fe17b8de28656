#pragma once
// The two sides of showing the video window's picture beyond the window:
// the host (desktop and full-screen playback over the monitors) is declared
// here and made elsewhere; the hosted picture is what the host asks of the
// video window, which keeps the renderer.
#include <windows.h>

#include <vector>

#include "common/monitor_layout.h"

namespace lumorix::engine {

class PictureHost {
 public:
  virtual ~PictureHost() = default;

  virtual ShowOn GetShowOn() const = 0;
  // Takes effect at once when playing on the desktop or full screen.
  virtual void SetShowOn(ShowOn mode) = 0;
  virtual bool DesktopMode() const = 0;
  virtual bool FullScreenMode() const = 0;
  // False (and nothing changes) when already in the mode or without a monitor.
  virtual bool EnterDesktop(HMONITOR monitor) = 0;
  virtual bool EnterFullScreen(HMONITOR monitor, bool topMost) = 0;
  // Both modes end; the window goes back to where it was. While the window is
  // being destroyed only the desktop look comes back.
  virtual void Leave(bool destroying) = 0;
  // The monitors the picture is shown on now, in physical pixels (none while windowed).
  virtual std::vector<RECT> ShownMonitorRects() const = 0;
  // The window changed its renderer: the hosts are arranged again when in a mode.
  virtual void Refresh() = 0;
};

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
  // The renderer draws the picture into each of these hosts' windows itself,
  // from the one decoded picture (none: back into the window only); false
  // when it cannot, and the picture stays in the window alone.
  virtual bool PictureShowIn(const std::vector<HWND>& hosts) = 0;
  // A host the renderer draws into must be painted again: the last picture.
  virtual void PictureRepaint(HWND host) = 0;

 protected:
  ~HostedPicture() = default;
};

}  // namespace lumorix::engine
