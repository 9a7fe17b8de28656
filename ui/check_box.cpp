#include "ui/check_box.h"

#include <algorithm>

#include "ui/dpi.h"

namespace lumorix::ui {

CheckBox::CheckBox(HWND parent, const Bounds& bounds, const std::wstring& caption)
    : CheckBox(parent, bounds, caption, BS_CHECKBOX) {}

CheckBox::CheckBox(HWND parent, const Bounds& bounds, const std::wstring& caption, DWORD buttonStyle)
    : autoSize_(bounds.width == 0 && bounds.height == 0) {
  CreateControl(L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | buttonStyle, 0, parent, bounds, caption);
  if (autoSize_) FitToCaption();
}

void CheckBox::DpiChanged(int) {
  if (autoSize_) FitToCaption();
}

void CheckBox::FitToCaption() {
  SIZE caption = CaptionSize(Handle());
  // The box, the gap before the caption and room for the focus frame.
  int boxWidth = SystemMetricForDpi(SM_CXMENUCHECK, Dpi()) + Scale(6);
  SetWindowPos(Handle(), nullptr, 0, 0, caption.cx + boxWidth, std::max<int>(caption.cy, Scale(17)),
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

RadioButton::RadioButton(HWND parent, const Bounds& bounds, const std::wstring& caption)
    : CheckBox(parent, bounds, caption, BS_RADIOBUTTON) {}

bool RadioButton::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    SetChecked(true);
    result = 0;
    return true;
  }
  return Window::OnReflected(message, wParam, lParam, result);
}

}  // namespace lumorix::ui
