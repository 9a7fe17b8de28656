#pragma once
// A drop-down list: one choice of several, shown in a box.
#include <functional>
#include <string>
#include <vector>

#include "ui/window.h"

namespace lumorix::ui {

class ComboBox : public Window {
 public:
  // `bounds` height is the height of the box with its list dropped down.
  ComboBox(HWND parent, const Bounds& bounds);

  void SetItems(const std::vector<std::wstring>& items);
  std::vector<std::wstring> Items() const;
  int ItemIndex() const;
  // Chosen by code: OnChange does not run.
  void SetItemIndex(int index);
  // The height of the box itself, without its list.
  int BoxHeight() const;

  // The user chose another item.
  std::function<void()> OnChange;

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace lumorix::ui
