// Windowed, desktop and full-screen playback: the hosting itself is the
// desktop stage's; this window keeps its renderer and its colour key.
#include "player/engine/video_window.h"

#include "player/engine/pin_walk.h"

namespace lumorix::engine {

namespace {
HMONITOR MonitorOf(HWND window) { return MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST); }
}  // namespace

void TDSVideoWindowEx2::StartDesktopPlayback() { StartDesktopPlayback(MonitorOf(Handle())); }
void TDSVideoWindowEx2::StartFullScreen() { StartFullScreen(MonitorOf(Handle())); }

void TDSVideoWindowEx2::StartDesktopPlayback(HMONITOR monitor) {
  if (!stage_->EnterDesktop(monitor)) return;
  overlayShown_ = false;
  PaintColorKey();
  if (OnOverlayVisible) OnOverlayVisible(false);
}

void TDSVideoWindowEx2::StopDesktopPlayback() {
  bool desktop = DesktopMode();
  stage_->Leave(Destroying());
  if (desktop && Destroying()) return;
  SetupVideoWindow();
  if (overlayActive_) RefreshColorKey();
  overlayShown_ = true;
  PaintColorKey();
  if (OnOverlayVisible) OnOverlayVisible(true);
}

void TDSVideoWindowEx2::StartFullScreen(HMONITOR monitor) {
  if (FullScreenMode()) return;
  if (DesktopMode()) StopDesktopPlayback();
  (void)stage_->EnterFullScreen(monitor, fullScreenTopMost_);
}

void TDSVideoWindowEx2::PictureMoveTo(HWND parent, const RECT& bounds) {
  if (ParentHandle() != parent) SetParentWindow(parent);
  SetBounds({bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top});
}

void TDSVideoWindowEx2::PicturePlaced() {
  SetupVideoWindow();
  if (overlayActive_) RefreshColorKey();
}

void TDSVideoWindowEx2::PictureRescued(HWND parent) {
  ShowWindow(Handle(), SW_HIDE);
  SetParentWindow(parent);
  if (videoWindow_) (void)videoWindow_->put_Owner(reinterpret_cast<OAHWND>(parent));
}

bool TDSVideoWindowEx2::PictureFrame(std::vector<BYTE>& dib) {
  if (stillCopied_ || !videoWindow_) return false;
  // An unconnected renderer has no picture (and Wine's faults when asked).
  ComPtr<IBaseFilter> renderer;
  ComPtr<IBasicVideo> video;
  if (FAILED(videoWindow_.As(&renderer)) || !FirstPinConnected(renderer.Get()) || FAILED(videoWindow_.As(&video)))
    return false;
  long size = 0;
  if (FAILED(video->GetCurrentImage(&size, nullptr)) || size <= 0) return false;
  dib.resize(static_cast<size_t>(size));
  if (FAILED(video->GetCurrentImage(&size, reinterpret_cast<long*>(dib.data())))) return false;
  stillCopied_ = !playing_;
  return true;
}

}  // namespace lumorix::engine
