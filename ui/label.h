#pragma once
#include <functional>
#include <optional>
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
  // The font stays the caller's; the label draws with it at its DPI.
  void SetFont(const ScaledFont& font);
  // A text colour of its own (a system colour or $00BBGGRR) instead of the window text colour.
  void SetFontColor(COLORREF color);
  // A pointing hand over the label, as over a link.
  void SetHandCursor(bool hand) { handCursor_ = hand; }
  std::function<void()> OnClick;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DpiChanged(int oldDpi) override;

 private:
  void FitToText();
  bool autoSize_;
  bool transparent_ = false;
  bool seeThrough_ = false;
  bool handCursor_ = false;
  std::optional<COLORREF> fontColor_;
};

}  // namespace lumorix::ui
