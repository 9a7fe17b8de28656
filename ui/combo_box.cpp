#include "ui/combo_box.h"

namespace lumorix::ui {

ComboBox::ComboBox(HWND parent, const Bounds& bounds) {
  CreateControl(L"COMBOBOX", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, parent, bounds);
}

void ComboBox::SetItems(const std::vector<std::wstring>& items) {
  SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
  for (const std::wstring& item : items)
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

std::vector<std::wstring> ComboBox::Items() const {
  std::vector<std::wstring> items;
  LRESULT count = SendMessageW(Handle(), CB_GETCOUNT, 0, 0);
  for (LRESULT index = 0; index < count; ++index) {
    LRESULT length = SendMessageW(Handle(), CB_GETLBTEXTLEN, index, 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(Handle(), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    items.push_back(std::move(text));
  }
  return items;
}

int ComboBox::ItemIndex() const { return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0)); }

void ComboBox::SetItemIndex(int index) { SendMessageW(Handle(), CB_SETCURSEL, index, 0); }

int ComboBox::BoxHeight() const {
  RECT box{};
  GetWindowRect(Handle(), &box);
  return box.bottom - box.top;
}

bool ComboBox::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
    if (OnChange) OnChange();
    result = 0;
    return true;
  }
  return Window::OnReflected(message, wParam, lParam, result);
}

}  // namespace lumorix::ui
