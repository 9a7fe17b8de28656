#pragma once
#include <functional>
#include <string>

#include "ui/window.h"

namespace lumorix::ui {

class Button : public Window {
 public:
  Button(HWND parent, const Bounds& bounds, const std::wstring& caption);
  std::function<void()> OnClick;
  void Click();

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace lumorix::ui
