#include "ui/check_box.h"

namespace lumorix::ui {

CheckBox::CheckBox(HWND parent, const Bounds& bounds, const std::wstring& caption) {
  CreateControl(L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, 0, parent, bounds, caption);
}

void CheckBox::SetChecked(bool checked, bool notify) {
  if (checked == checked_) return;
  checked_ = checked;
  SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (notify && OnClick) OnClick();
}

bool CheckBox::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    SetChecked(!checked_);
    result = 0;
    return true;
  }
  return Window::OnReflected(message, wParam, lParam, result);
}

}  // namespace lumorix::ui
