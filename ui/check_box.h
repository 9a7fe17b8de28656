#pragma once
#include <functional>
#include <string>

#include "ui/window.h"

namespace lumorix::ui {

// A check box whose click event runs whenever its state really changes, by
// the user or by code.
class CheckBox : public Window {
 public:
  // Without a size it sizes itself to its caption.
  CheckBox(HWND parent, const Bounds& bounds, const std::wstring& caption);

  // `notify` false sets the state without running OnClick.
  void SetChecked(bool checked, bool notify = true);
  bool Checked() const { return checked_; }
  std::function<void()> OnClick;

 protected:
  // A button of another kind that sizes and checks itself the same way (BS_RADIOBUTTON).
  CheckBox(HWND parent, const Bounds& bounds, const std::wstring& caption, DWORD buttonStyle);
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DpiChanged(int oldDpi) override;

 private:
  void FitToCaption();
  bool autoSize_;
  bool checked_ = false;
};

// One of a set of exclusive choices: a click chooses it (and runs OnClick
// when it was not chosen yet); its owner clears the others.
class RadioButton : public CheckBox {
 public:
  RadioButton(HWND parent, const Bounds& bounds, const std::wstring& caption);

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace lumorix::ui
