#pragma once
// A picture that can be clicked. Auto-size pictures take the size of their image.
#include <functional>

#include "ui/window.h"

namespace lumorix::ui {

class Picture : public Window {
 public:
  Picture(HWND parent, const Bounds& bounds, bool autoSize = false);

  // Takes a 32-bit top-down bitmap with premultiplied alpha (or a plain one).
  void SetBitmap(UniqueBitmap bitmap);
  bool HasBitmap() const { return static_cast<bool>(bitmap_); }
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  // A stretched picture fills the control instead of keeping the image's size.
  void SetStretch(bool stretch);
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Paint();
  UniqueBitmap bitmap_;
  bool autoSize_;
  bool stretch_ = false;
  bool pressed_ = false;
};

}  // namespace lumorix::ui
