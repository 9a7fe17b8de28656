#pragma once
// An owner-drawn list box with fixed item height; items may be multi-selected.
// A list without item data holds only a count: its owner keeps the items and
// draws them, so a list of a hundred thousand entries fills at once.
#include <functional>
#include <string>
#include <vector>

#include "ui/window.h"

namespace lumorix::ui {

struct ListBoxDrawItem {
  HDC dc;
  int index;
  RECT rect;
  bool selected;
};

class ListBox : public Window {
 public:
  enum class ItemData { Texts, None };
  ListBox(HWND parent, const Bounds& bounds, int itemHeight, bool multiSelect, ItemData data = ItemData::Texts);

  int Count() const;
  // Lists without item data: the number of items.
  void SetCount(int count);
  void ClearSelection();
  int Add(const std::wstring& text);
  void Delete(int index);
  void Clear();
  std::wstring ItemText(int index) const;
  bool Selected(int index) const;
  // The selected items' indexes, ascending.
  std::vector<int> SelectedIndexes() const;
  void SetSelected(int index, bool selected);
  int ItemIndex() const;  // the focused item, or -1
  void SetItemIndex(int index);

  // The font stays the caller's; the list draws with it at its DPI.
  void SetFont(const ScaledFont& font);
  void SetTextColor(COLORREF color) { textColor_ = color; }

  // The list has prepared the canvas: background and text colours and the font.
  std::function<void(const ListBoxDrawItem&)> OnDrawItem;
  std::function<void()> OnDblClick;
  std::function<void(UINT key)> OnKeyUp;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DpiChanged(int oldDpi) override;

 private:
  bool multiSelect_;
  int itemHeight_;  // in design units
  COLORREF textColor_ = 0;
};

}  // namespace lumorix::ui
