#pragma once
#include "ui/window.h"

namespace lumorix::ui {

// A bordered panel painted with a vertical gradient, parent of the controls
// on it. See-through labels on it show the gradient behind their text.
class GradientPanel : public Window {
 public:
  GradientPanel(HWND parent, const Bounds& bounds, COLORREF top, COLORREF bottom);
  COLORREF TopColor() const { return top_; }
  COLORREF BottomColor() const { return bottom_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void PaintGradient(HDC dc) const;
  COLORREF top_;
  COLORREF bottom_;
};

}  // namespace lumorix::ui
