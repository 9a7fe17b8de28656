// Windowed, desktop and full-screen playback: the hosting itself is the
// picture host's; this window keeps its renderer and its colour key.
#include "player/engine/video/video_window.h"

#include <cstring>

#include "platform/wine_host.h"
#include "ui/gdi.h"

namespace lumorix::engine {

namespace {

HMONITOR MonitorOf(HWND window) { return MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST); }

}  // namespace

bool CaptureWindowPicture(HWND window, std::vector<BYTE>& dib) {
  constexpr UINT kRenderFullContent = 2;  // PW_RENDERFULLCONTENT: DirectX content too (Windows 8.1 on)
  RECT client;
  if (!window || !GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return false;
  ui::Dib32 section = ui::CreateDib32(client.right, client.bottom);
  ui::UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
  if (!section.bits || !memory) return false;
  {
    ui::SelectObjectScope select(memory.Get(), section.bitmap.Get());
    if (platform::RunningOnWine()) {
      // Wine's PrintWindow only asks the window to paint itself, which a
      // renderer's window does not do; its surface holds what it drew. A DC
      // from the cache: the renderer's own one is busy on its thread.
      HDC source = GetDCEx(window, nullptr, DCX_CACHE);
      bool copied = source && BitBlt(memory.Get(), 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
      if (source) ReleaseDC(window, source);
      if (!copied) return false;
    } else if (!PrintWindow(window, memory.Get(), kRenderFullContent)) {
      return false;
    }
  }
  GdiFlush();
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = client.right;
  header.biHeight = -client.bottom;  // top-down, as the section
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  size_t size = static_cast<size_t>(client.right) * static_cast<size_t>(client.bottom) * 4;
  dib.resize(sizeof header + size);
  std::memcpy(dib.data(), &header, sizeof header);
  std::memcpy(dib.data() + sizeof header, section.bits, size);
  return true;
}

void TDSVideoWindowEx2::StartDesktopPlayback() { StartDesktopPlayback(MonitorOf(Handle())); }
void TDSVideoWindowEx2::StartFullScreen() { StartFullScreen(MonitorOf(Handle())); }

void TDSVideoWindowEx2::StartDesktopPlayback(HMONITOR monitor) {
  if (!host_ || !host_->EnterDesktop(monitor)) return;
  overlayShown_ = false;
  PaintColorKey();
  if (OnOverlayVisible) OnOverlayVisible(false);
}

void TDSVideoWindowEx2::StopDesktopPlayback() {
  bool desktop = DesktopMode();
  if (host_) host_->Leave(Destroying());
  if (desktop && Destroying()) return;
  SetupVideoWindow();
  if (OverlayActive()) RefreshColorKey();
  overlayShown_ = true;
  PaintColorKey();
  if (OnOverlayVisible) OnOverlayVisible(true);
}

void TDSVideoWindowEx2::StartFullScreen(HMONITOR monitor) {
  if (FullScreenMode()) return;
  if (DesktopMode()) StopDesktopPlayback();
  if (host_) (void)host_->EnterFullScreen(monitor, fullScreenTopMost_);
}

void TDSVideoWindowEx2::PictureMoveTo(HWND parent, const RECT& bounds) {
  if (ParentHandle() != parent) SetParentWindow(parent);
  SetBounds({bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top});
}

void TDSVideoWindowEx2::PicturePlaced() {
  EndFade();
  SetupVideoWindow();
  // A clip waiting to take over waits at the new place.
  if (spare_ && spare_->Connected()) {
    spare_->Present(SparePlace());
    if (auto window = spare_->VideoWindow()) (void)window->put_Visible(OAFALSE);
  }
  if (OverlayActive()) RefreshColorKey();
}

void TDSVideoWindowEx2::PictureRescued(HWND parent) {
  ShowWindow(Handle(), SW_HIDE);
  SetParentWindow(parent);
  EndFade();
  if (Renderer()) Renderer()->FollowParent(parent);
  if (spare_) spare_->FollowParent(parent);
}

bool TDSVideoWindowEx2::PictureShowIn(const std::vector<HWND>& hosts) {
  return Renderer() && Renderer()->ShowInHosts(hosts);
}

}  // namespace lumorix::engine
