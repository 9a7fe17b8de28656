#pragma once
#include <functional>
#include <string>

#include "ui/window.h"

namespace lumorix::ui {

// A single-line, editable text box. Without a height it takes the height a
// box of the window's font needs.
class Edit : public Window {
 public:
  Edit(HWND parent, const Bounds& bounds, const std::wstring& text);
  // Runs after every change of the text, by the user or by code.
  std::function<void()> OnChange;

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace lumorix::ui
