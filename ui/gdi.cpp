#include "ui/gdi.h"

namespace lumorix::ui {

COLORREF ResolveColor(COLORREF color) {
  if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}

Dib32 CreateDib32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Dib32 dib;
  dib.bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (dib.bitmap) dib.bits = static_cast<uint32_t*>(bits);
  return dib;
}

SIZE SingleLineTextSize(HWND window, HFONT font, const std::wstring& text, UINT format) {
  RECT rect{0, 0, 0, 0};
  HDC dc = GetDC(window);
  if (!dc) return {0, 0};
  {
    SelectObjectScope select(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE | format);
  }
  ReleaseDC(window, dc);
  return {rect.right, rect.bottom};
}

SIZE CaptionSize(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
  // An empty caption measures as a blank, so it still has a height.
  return SingleLineTextSize(control, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                            text.empty() ? L" " : text);
}

}  // namespace lumorix::ui
