#include "ui/edit.h"

namespace lumorix::ui {

namespace {
constexpr int kDefaultHeight = 21;
}

Edit::Edit(HWND parent, const Bounds& bounds, const std::wstring& text) {
  Bounds placed = bounds;
  if (placed.height == 0) placed.height = kDefaultHeight;
  CreateControl(L"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent, placed, text);
}

bool Edit::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
    if (OnChange) OnChange();
    result = 0;
    return true;
  }
  if (message == WM_CTLCOLOREDIT) return false;  // the system window colour
  return Window::OnReflected(message, wParam, lParam, result);
}

}  // namespace lumorix::ui
