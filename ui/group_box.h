#pragma once
#include <string>

#include "ui/window.h"

namespace lumorix::ui {

// A framed, captioned box that is also the parent of the controls inside it.
class GroupBox : public Window {
 public:
  GroupBox(HWND parent, const Bounds& bounds, const std::wstring& caption);
};

}  // namespace lumorix::ui
