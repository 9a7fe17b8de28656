#include "ui/list_box.h"

#include <algorithm>

#include "ui/scaled_font.h"

namespace lumorix::ui {

ListBox::ListBox(HWND parent, const Bounds& bounds, int itemHeight, bool multiSelect, ItemData data)
    : multiSelect_(multiSelect), itemHeight_(itemHeight) {
  DWORD style =
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT;
  style |= data == ItemData::None ? LBS_NODATA : LBS_HASSTRINGS;
  if (multiSelect) style |= LBS_EXTENDEDSEL;
  CreateControl(L"LISTBOX", style, WS_EX_CLIENTEDGE, parent, bounds);
  SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, Scale(itemHeight));
}

void ListBox::DpiChanged(int) { SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, Scale(itemHeight_)); }

int ListBox::Count() const { return static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0)); }

void ListBox::SetCount(int count) { SendMessageW(Handle(), LB_SETCOUNT, static_cast<WPARAM>(count), 0); }

void ListBox::ClearSelection() {
  if (multiSelect_)
    SendMessageW(Handle(), LB_SETSEL, FALSE, -1);
  else
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

std::vector<int> ListBox::SelectedIndexes() const {
  if (!multiSelect_) {
    int index = static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
    return index == LB_ERR ? std::vector<int>{} : std::vector<int>{index};
  }
  LRESULT count = SendMessageW(Handle(), LB_GETSELCOUNT, 0, 0);
  if (count <= 0) return {};
  std::vector<int> indexes(static_cast<size_t>(count));
  count = SendMessageW(Handle(), LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(indexes.data()));
  indexes.resize(count == LB_ERR ? 0 : static_cast<size_t>(count));
  std::sort(indexes.begin(), indexes.end());
  return indexes;
}

int ListBox::Add(const std::wstring& text) {
  return static_cast<int>(SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void ListBox::Delete(int index) { SendMessageW(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0); }
void ListBox::Clear() { SendMessageW(Handle(), LB_RESETCONTENT, 0, 0); }

std::wstring ListBox::ItemText(int index) const {
  LRESULT length = SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

bool ListBox::Selected(int index) const {
  if (!multiSelect_) return ItemIndex() == index;
  return SendMessageW(Handle(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void ListBox::SetSelected(int index, bool selected) {
  if (multiSelect_)
    SendMessageW(Handle(), LB_SETSEL, selected ? TRUE : FALSE, index);
  else
    SendMessageW(Handle(), LB_SETCURSEL, selected ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
}

int ListBox::ItemIndex() const {
  LRESULT index = SendMessageW(Handle(), multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0);
  if (index == LB_ERR || index >= Count()) return -1;
  return static_cast<int>(index);
}

void ListBox::SetItemIndex(int index) {
  SendMessageW(Handle(), multiSelect_ ? LB_SETCARETINDEX : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ListBox::SetFont(const ScaledFont& font) {
  SetScaledFont(&font);
  Invalidate();
}

bool ListBox::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_KEYUP && OnKeyUp) {
    OnKeyUp(static_cast<UINT>(wParam));
    result = 0;
    return true;
  }
  return false;
}

bool ListBox::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == LBN_DBLCLK && OnDblClick) OnDblClick();
      result = 0;
      return true;
    case WM_CTLCOLORLISTBOX:
      result = reinterpret_cast<LRESULT>(BackgroundBrush());
      return true;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.itemID == static_cast<UINT>(-1)) {
        result = TRUE;
        return true;
      }
      bool selected = (item.itemState & ODS_SELECTED) != 0;
      SetBkColor(item.hDC, selected ? GetSysColor(COLOR_HIGHLIGHT) : ResolveColor(Color()));
      ::SetTextColor(item.hDC, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ResolveColor(textColor_));
      ListBoxDrawItem draw{item.hDC, static_cast<int>(item.itemID), item.rcItem, selected};
      if (OnDrawItem) {
        OnDrawItem(draw);
      } else {
        std::wstring text = ItemText(draw.index);
        ExtTextOutW(item.hDC, item.rcItem.left, item.rcItem.top, ETO_OPAQUE | ETO_CLIPPED, &item.rcItem, text.c_str(),
                    static_cast<UINT>(text.size()), nullptr);
      }
      if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
      result = TRUE;
      return true;
    }
    default:
      return Window::OnReflected(message, wParam, lParam, result);
  }
}

}  // namespace lumorix::ui
