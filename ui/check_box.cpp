#include "ui/check_box.h"

#include <algorithm>

namespace lumorix::ui {

CheckBox::CheckBox(HWND parent, const Bounds& bounds, const std::wstring& caption) {
  CreateControl(L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, 0, parent, bounds, caption);
  if (bounds.width == 0 && bounds.height == 0) FitToCaption();
}

void CheckBox::FitToCaption() {
  SIZE caption = CaptionSize(Handle());
  // The box, the gap before the caption and room for the focus frame.
  int boxWidth = GetSystemMetrics(SM_CXMENUCHECK) + 6;
  SetWindowPos(Handle(), nullptr, 0, 0, caption.cx + boxWidth, std::max<int>(caption.cy, 17),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
