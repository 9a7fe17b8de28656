#include "ui/group_box.h"

namespace lumorix::ui {

GroupBox::GroupBox(HWND parent, const Bounds& bounds, const std::wstring& caption) {
  CreateControl(L"BUTTON", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, WS_EX_CONTROLPARENT, parent, bounds,
                caption);
}

bool GroupBox::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_ERASEBKGND) return false;
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush());
  result = 1;
  return true;
}

}  // namespace lumorix::ui
