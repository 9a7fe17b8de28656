#include "ui/picture.h"

#include "common/design_scale.h"
#include "ui/picture_file.h"

namespace lumorix::ui {

namespace {

SIZE SizeOf(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

}  // namespace

Picture::Picture(HWND parent, const Bounds& bounds, bool autoSize) : autoSize_(autoSize) {
  CreateOwn(L"LumorixPicture", CS_DBLCLKS, WS_CHILD | WS_VISIBLE, WS_EX_NOPARENTNOTIFY, parent, bounds);
}

void Picture::SetBitmap(UniqueBitmap bitmap) {
  art_.clear();
  art_.push_back(std::move(bitmap));
  drawn_.Reset();
  FitToImage();
  Invalidate();
}

void Picture::AddLargerArt(UniqueBitmap bitmap) {
  if (!bitmap) return;
  art_.push_back(std::move(bitmap));
  drawn_.Reset();
  Invalidate();
}

void Picture::FitToImage() {
  if (!autoSize_ || !HasBitmap()) return;
  SIZE design = SizeOf(Bitmap());
  SetWindowPos(Handle(), nullptr, 0, 0, Scale(design.cx), Scale(design.cy), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Picture::DpiChanged(int) {
  drawn_.Reset();
  FitToImage();
}

void Picture::SetStretch(bool stretch) {
  stretch_ = stretch;
  Invalidate();
}

HBITMAP Picture::BitmapAt(SIZE size) {
  const SIZE design = SizeOf(Bitmap());
  if (size.cx == design.cx && size.cy == design.cy) return Bitmap();
  if (drawn_ && size.cx == drawnSize_.cx && size.cy == drawnSize_.cy) return drawn_.Get();
  std::vector<int> widths;
  for (const UniqueBitmap& art : art_) widths.push_back(SizeOf(art.Get()).cx);
  const PremultipliedImage source = ImageFromBitmap(art_[PickArt(widths, size.cx)].Get());
  drawn_ = BitmapFromImage(ResampleArea(source, size.cx, size.cy));
  drawnSize_ = size;
  return drawn_.Get();
}

void Picture::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Handle(), &paint);
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, BackgroundBrush());
  if (HasBitmap()) {
    const SIZE design = SizeOf(Bitmap());
    const SIZE size = stretch_ ? SIZE{client.right, client.bottom} : SIZE{Scale(design.cx), Scale(design.cy)};
    HBITMAP bitmap = size.cx > 0 && size.cy > 0 ? BitmapAt(size) : nullptr;
    BITMAP info{};
    if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
      UniqueMemoryDc source(CreateCompatibleDC(dc));
      SelectObjectScope select(source.Get(), bitmap);
      if (info.bmBitsPixel == 32) {
        // Blended at every paint, so a new window colour shows through at once.
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(dc, 0, 0, size.cx, size.cy, source.Get(), 0, 0, size.cx, size.cy, blend);
      } else {
        BitBlt(dc, 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
      }
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
