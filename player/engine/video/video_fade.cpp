#include "player/engine/video/video_fade.h"

#include <algorithm>

#include "ui/gdi.h"

namespace lumorix::engine {

namespace {

// Stretches a packed DIB over `size` of `dc`; nothing for a picture that is no DIB.
void DrawDib(HDC dc, const std::vector<BYTE>& dib, SIZE size) {
  if (dib.size() < sizeof(BITMAPINFOHEADER)) return;
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
  if (header->biSize < sizeof(BITMAPINFOHEADER) || header->biSize > dib.size()) return;
  size_t colours = header->biClrUsed;
  if (colours == 0 && header->biBitCount <= 8) colours = size_t{1} << header->biBitCount;
  size_t offset = header->biSize + colours * sizeof(RGBQUAD);
  if (header->biCompression == BI_BITFIELDS) offset += 3 * sizeof(DWORD);
  const LONG height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  const size_t stride = ((static_cast<size_t>(header->biWidth) * header->biBitCount + 31) / 32) * 4;
  if (header->biWidth <= 0 || height <= 0 || offset + stride * static_cast<size_t>(height) > dib.size()) return;
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, 0, 0, size.cx, size.cy, 0, 0, header->biWidth, height, dib.data() + offset,
                reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

VideoFade::VideoFade(HWND parent, const RECT& bounds, std::vector<BYTE> oldPicture, int durationMs)
    : old_(std::move(oldPicture)), durationMs_(std::max(durationMs, 1)), startTick_(GetTickCount()) {
  CreateOwn(L"LumorixVideoFade", 0, WS_CHILD | WS_CLIPSIBLINGS, WS_EX_LAYERED | WS_EX_TRANSPARENT, parent,
            {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top});
  // A system without layered child windows gets a cut.
  if (!Handle() || !SetLayeredWindowAttributes(Handle(), 0, 255, LWA_ALPHA)) {
    opacity_ = 0;
    return;
  }
  // Over the renderers' windows, which are its siblings.
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow(Handle());
  timer_.OnTimer = [this] { Step(); };
  timer_.SetEnabled(true);
}

VideoFade::~VideoFade() { timer_.SetEnabled(false); }

void VideoFade::Step() {
  const DWORD elapsed = GetTickCount() - startTick_;
  opacity_ = 255 - static_cast<int>(std::min<DWORD>(255, elapsed * 255 / static_cast<DWORD>(durationMs_)));
  (void)SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(opacity_), LWA_ALPHA);
  if (!Done()) return;
  timer_.SetEnabled(false);
  if (OnDone) OnDone();
}

bool VideoFade::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Handle(), &paint);
      RECT client;
      GetClientRect(Handle(), &client);
      DrawDib(dc, old_, {client.right, client.bottom});
      EndPaint(Handle(), &paint);
      result = 0;
      return true;
    }
    case WM_NCHITTEST:
      result = HTTRANSPARENT;  // presses go to the video below
      return true;
    default:
      (void)wParam;
      (void)lParam;
      return false;
  }
}

}  // namespace lumorix::engine
