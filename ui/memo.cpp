#include "ui/memo.h"

namespace lumorix::ui {

Memo::Memo(HWND parent, const Bounds& bounds, const std::wstring& text) {
  CreateControl(L"EDIT",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                    ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                0, parent, bounds, text);
}

bool Memo::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // A read-only edit asks for the static colours; it keeps the window colour.
  if (message == WM_CTLCOLORSTATIC) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    return true;
  }
  return Window::OnReflected(message, wParam, lParam, result);
}

}  // namespace lumorix::ui
