#pragma once
// A sunken frame or a sunken horizontal line drawn over the parent's colour.
// It lies beneath its sibling controls, which stay visible inside the frame.
#include "ui/window.h"

namespace lumorix::ui {

enum class BevelShape { Frame, TopLine };

class Bevel : public Window {
 public:
  Bevel(HWND parent, const Bounds& bounds, BevelShape shape);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  BevelShape shape_;
};

}  // namespace lumorix::ui
