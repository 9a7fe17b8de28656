#pragma once
// The small pop-up that shows a text near the mouse pointer.
#include <string>

#include "ui/window.h"

namespace lumorix::ui {

class HintWindow : public Window {
 public:
  // `owner` is the window the pop-up belongs to.
  explicit HintWindow(HWND owner);

  // Sets the text and sizes the pop-up to it: text width + 6, text height + 4
  // (design units), in the system's hint font at the pop-up's DPI.
  void SetHintText(const std::wstring& text);
  void MoveTo(int x, int y);
  // Shows the pop-up without taking the focus.
  void SetVisible(bool visible) override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void FitToText();
  UniqueFont font_;
  int fontDpi_ = 0;
};

}  // namespace lumorix::ui
