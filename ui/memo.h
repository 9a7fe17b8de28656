#pragma once
#include <string>

#include "ui/window.h"

namespace lumorix::ui {

// A multi-line, read-only text with both scroll bars and no border, in the
// system window colour (an agreement, a licence).
class Memo : public Window {
 public:
  Memo(HWND parent, const Bounds& bounds, const std::wstring& text);

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace lumorix::ui
