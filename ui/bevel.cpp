#include "ui/bevel.h"

namespace lumorix::ui {

Bevel::Bevel(HWND parent, const Bounds& bounds, BevelShape shape) : shape_(shape) {
  CreateOwn(L"LumorixBevel", 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, WS_EX_NOPARENTNOTIFY, parent, bounds);
  SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Bevel::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_NCHITTEST:
      result = HTTRANSPARENT;  // clicks reach the controls beneath
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Handle(), &paint);
      RECT client;
      GetClientRect(Handle(), &client);
      FillRect(dc, &client, BackgroundBrush());
      if (shape_ == BevelShape::Frame) {
        DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
      } else {
        RECT line{client.left, 0, client.right, 2};
        DrawEdge(dc, &line, BDR_SUNKENOUTER, BF_TOP | BF_BOTTOM);
      }
      EndPaint(Handle(), &paint);
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace lumorix::ui
