#include "ui/button.h"

namespace lumorix::ui {

Button::Button(HWND parent, const Bounds& bounds, const std::wstring& caption) {
  CreateControl(L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, parent, bounds, caption);
}

void Button::Click() {
  if (OnClick) OnClick();
}

bool Button::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    Click();
    result = 0;
    return true;
  }
  return Window::OnReflected(message, wParam, lParam, result);
}

}  // namespace lumorix::ui
