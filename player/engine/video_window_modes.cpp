// The three modes: windowed, desktop playback and full screen, and the host
// form that serves the last two through shell restarts and display changes.
#include "player/engine/video_window.h"

#include "player/engine/full_screen_form.h"
#include "player/engine/shell_watcher.h"
#include "player/engine/wallpaper_layer.h"

namespace lumorix::engine {

namespace {

HMONITOR MonitorOf(HWND window) { return MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST); }

bool MonitorRect(HMONITOR monitor, RECT& rect) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return false;
  rect = info.rcMonitor;
  return true;
}

}  // namespace

void TDSVideoWindowEx2::StartDesktopPlayback() { StartDesktopPlayback(MonitorOf(Handle())); }
void TDSVideoWindowEx2::StartFullScreen() { StartFullScreen(MonitorOf(Handle())); }

void TDSVideoWindowEx2::HostOnDesktop(const RECT& monitor) {
  TFullScrinForm& host = Host();
  host.SetTopMost(false);
  auto layer = FindWallpaperLayer();
  if (!layer || !host.HostInLayer(*layer, monitor)) {
    host.CoverMonitor(monitor);
    host.SetBackdrop(true);
    ShowWindow(host.Handle(), SW_SHOWNOACTIVATE);
  }
}

void TDSVideoWindowEx2::StartDesktopPlayback(HMONITOR monitor) {
  RECT area;
  if (desktopMode_ || !MonitorRect(monitor, area)) return;  // no switch without a monitor
  savedLook_ = ReadDesktopLook();
  KeepInterruptedLook(savedLook_);
  ApplyPlaybackLook(colorKey_);
  if (fullScreenMode_) StopDesktopPlayback();  // with desktop mode still off this only leaves full screen
  TFullScrinForm& host = Host();
  if (GetParent(Handle()) != host.Handle()) savedParent_ = ParentHandle();
  SetParentWindow(host.Handle());
  desktopMode_ = true;
  desktopMonitor_ = area;
  if (overlayActive_) {
    // The overlay shows through the colour key; the host only gives the geometry.
    host.SetTopMost(false);
    host.CoverMonitor(area);
    ShowWindow(host.Handle(), SW_SHOWNOACTIVATE);
  } else {
    // Without an overlay the host itself is the picture, behind the icons.
    HostOnDesktop(area);
  }
  SetupVideoWindow();
  if (overlayActive_) {
    RefreshColorKey();
    ShowWindow(host.Handle(), SW_HIDE);
  }
  overlayShown_ = false;
  PaintColorKey();
  if (OnOverlayVisible) OnOverlayVisible(false);
}

void TDSVideoWindowEx2::StopDesktopPlayback() {
  if (desktopMode_) {
    RestoreDesktopLook(savedLook_);
    ForgetInterruptedLook();
    desktopMode_ = false;
    if (Destroying()) return;
    if (host_ && host_->Handle()) {
      host_->LeaveLayer();
      ShowWindow(host_->Handle(), SW_HIDE);
      host_->SetBackdrop(false);
    }
  }
  if (savedParent_) SetParentWindow(savedParent_);
  ShowWindow(Handle(), SW_SHOWNA);  // hidden while the shell had taken its host away
  if (fullScreenMode_) {
    ShowWindow(Host().Handle(), SW_HIDE);
    Host().Invalidate();
    fullScreenMode_ = false;
  }
  SetupVideoWindow();
  if (overlayActive_) RefreshColorKey();
  overlayShown_ = true;
  PaintColorKey();
  if (OnOverlayVisible) OnOverlayVisible(true);
}

void TDSVideoWindowEx2::StartFullScreen(HMONITOR monitor) {
  RECT area;
  if (fullScreenMode_ || !MonitorRect(monitor, area)) return;
  if (desktopMode_) StopDesktopPlayback();
  TFullScrinForm& host = Host();
  if (GetParent(Handle()) != host.Handle()) savedParent_ = ParentHandle();
  SetParentWindow(host.Handle());
  host.SetBackdrop(false);
  host.CoverMonitor(area);
  host.SetTopMost(fullScreenTopMost_);
  ShowWindow(host.Handle(), SW_SHOW);
  fullScreenMode_ = true;
  SetupVideoWindow();
  if (overlayActive_) RefreshColorKey();
}

// The shell is destroying the layer the host sat in: keep this window (and
// the renderer's, its sibling) out of the wreck until the shell is back.
void TDSVideoWindowEx2::RescueFromLostHost() {
  HWND parent = savedParent_ && IsWindow(savedParent_) ? savedParent_ : shellWatcher_->Handle();
  ShowWindow(Handle(), SW_HIDE);
  SetParentWindow(parent);
  if (renderer_) renderer_->FollowParent(parent);
  // Until the shell is back (it may never be) the picture goes on as the backdrop;
  // a new host cannot be made while the old one is being destroyed.
  PostMessageW(Handle(), kHostAgainMessage, 0, 0);
}

void TDSVideoWindowEx2::HostAgainAfterShellRestart() {
  if (!desktopMode_ || overlayActive_) return;
  TFullScrinForm& host = Host();
  if (GetParent(Handle()) != host.Handle()) SetParentWindow(host.Handle());
  HostOnDesktop(desktopMonitor_);
  ShowWindow(Handle(), SW_SHOWNA);
  SetupVideoWindow();
}

// A new resolution or monitor layout: the host covers its monitor again and
// the picture fills it, whichever mode it serves.
void TDSVideoWindowEx2::FollowDisplayChange() {
  if ((!desktopMode_ && !fullScreenMode_) || !host_ || !host_->Handle()) return;
  RECT area;
  if (!MonitorRect(MonitorOf(Handle()), area)) return;
  if (desktopMode_ && !overlayActive_) {
    desktopMonitor_ = area;
    HostOnDesktop(area);
  } else {
    host_->CoverMonitor(area);
  }
  SetBounds({0, 0, area.right - area.left, area.bottom - area.top});
  SetupVideoWindow();
}

}  // namespace lumorix::engine
