#pragma once
#include <string>

#include "ui/window.h"

namespace lumorix::ui {

// A framed, captioned box that is also the parent of the controls inside it.
class GroupBox : public Window {
 public:
  GroupBox(HWND parent, const Bounds& bounds, const std::wstring& caption);

 protected:
  // A group box draws only its frame; the inside takes the box's colour.
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace lumorix::ui
