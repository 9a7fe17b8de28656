#include "ui/picture.h"

namespace lumorix::ui {

Picture::Picture(HWND parent, const Bounds& bounds, bool autoSize) : autoSize_(autoSize) {
  CreateOwn(L"LumorixPicture", CS_DBLCLKS, WS_CHILD | WS_VISIBLE, WS_EX_NOPARENTNOTIFY, parent, bounds);
}

void Picture::SetBitmap(UniqueBitmap bitmap) {
  bitmap_ = std::move(bitmap);
  if (autoSize_ && bitmap_) {
    BITMAP info{};
    GetObjectW(bitmap_.Get(), sizeof info, &info);
    SetWindowPos(Handle(), nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Invalidate();
}

void Picture::SetStretch(bool stretch) {
  stretch_ = stretch;
  Invalidate();
}

void Picture::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Handle(), &paint);
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, BackgroundBrush());
  if (bitmap_) {
    BITMAP info{};
    GetObjectW(bitmap_.Get(), sizeof info, &info);
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    SelectObjectScope select(source.Get(), bitmap_.Get());
    int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    int width = stretch_ ? client.right : info.bmWidth;
    int drawnHeight = stretch_ ? client.bottom : height;
    if (info.bmBitsPixel == 32) {
      // Blended at every paint, so a new window colour shows through at once.
      BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      GdiAlphaBlend(dc, 0, 0, width, drawnHeight, source.Get(), 0, 0, info.bmWidth, height, blend);
    } else {
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, 0, 0, width, drawnHeight, source.Get(), 0, 0, info.bmWidth, height, SRCCOPY);
    }
  }
  EndPaint(Handle(), &paint);
}

bool Picture::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      Paint();
      break;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(Handle());
      break;
    case WM_LBUTTONUP:
      if (pressed_) {
        pressed_ = false;
        ReleaseCapture();
        if (OnClick) OnClick();
      }
      break;
    case WM_LBUTTONDBLCLK:
      if (OnDblClick) OnDblClick();
      break;
    default:
      return false;
  }
  result = 0;
  return true;
}

}  // namespace lumorix::ui
