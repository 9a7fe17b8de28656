#pragma once
#include <string>

#include "ui/window.h"

namespace lumorix::ui {

enum class Alignment { Left, Center, Right };

// A static text. Without a size it sizes itself to its caption.
class Label : public Window {
 public:
  Label(HWND parent, const Bounds& bounds, const std::wstring& caption, Alignment alignment = Alignment::Left);
  void SetCaption(const std::wstring& caption);
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  // Draws only its text over what the parent painted (a gradient); a new
  // caption has the parent repaint beneath it first.
  void SetSeeThrough(bool seeThrough) { seeThrough_ = seeThrough; }

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void FitToText();
  bool autoSize_;
  bool transparent_ = false;
  bool seeThrough_ = false;
};

}  // namespace lumorix::ui
