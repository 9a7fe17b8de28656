#include "ui/gradient_panel.h"

namespace lumorix::ui {

GradientPanel::GradientPanel(HWND parent, const Bounds& bounds, COLORREF top, COLORREF bottom)
    : top_(top), bottom_(bottom) {
  // No WS_CLIPCHILDREN: see-through children are drawn over the gradient.
  CreateOwn(L"LumorixGradientPanel", 0, WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, parent, bounds);
  SetColor(top);
}

void GradientPanel::PaintGradient(HDC dc) const {
  RECT client;
  GetClientRect(Handle(), &client);
  TRIVERTEX corners[2] = {};
  corners[0].x = client.left;
  corners[0].y = client.top;
  corners[0].Red = static_cast<COLOR16>(GetRValue(top_) << 8);
  corners[0].Green = static_cast<COLOR16>(GetGValue(top_) << 8);
  corners[0].Blue = static_cast<COLOR16>(GetBValue(top_) << 8);
  corners[1].x = client.right;
  corners[1].y = client.bottom;
  corners[1].Red = static_cast<COLOR16>(GetRValue(bottom_) << 8);
  corners[1].Green = static_cast<COLOR16>(GetGValue(bottom_) << 8);
  corners[1].Blue = static_cast<COLOR16>(GetBValue(bottom_) << 8);
  GRADIENT_RECT rect{0, 1};
  GdiGradientFill(dc, corners, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

bool GradientPanel::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      PaintGradient(reinterpret_cast<HDC>(wParam));
      result = 1;
      return true;
    case WM_GETFONT:
      // Controls on the panel take the form's font.
      result = SendMessageW(GetParent(Handle()), WM_GETFONT, 0, 0);
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(Handle(), &paint);
      EndPaint(Handle(), &paint);
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace lumorix::ui
