#pragma once
// A picture that can be clicked. Auto-size pictures take the size of their
// image, scaled to the picture's DPI; the image is drawn resampled to the size
// it shows at, from the largest art it needs.
#include <functional>
#include <vector>

#include "ui/window.h"

namespace lumorix::ui {

class Picture : public Window {
 public:
  Picture(HWND parent, const Bounds& bounds, bool autoSize = false);

  // Takes a 32-bit top-down bitmap with premultiplied alpha (or a plain one);
  // its size is the picture's size in design units.
  void SetBitmap(UniqueBitmap bitmap);
  // The same picture drawn larger, used when the picture shows at a larger size.
  void AddLargerArt(UniqueBitmap bitmap);
  bool HasBitmap() const { return !art_.empty() && art_.front(); }
  HBITMAP Bitmap() const { return art_.empty() ? nullptr : art_.front().Get(); }
  // A stretched picture fills the control instead of keeping the image's size.
  void SetStretch(bool stretch);
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DpiChanged(int oldDpi) override;

 private:
  void Paint();
  void FitToImage();
  // The bitmap to draw at `size`: the art itself when it has that size, else
  // the best art resampled (kept until the size changes).
  HBITMAP BitmapAt(SIZE size);

  std::vector<UniqueBitmap> art_;
  UniqueBitmap drawn_;
  SIZE drawnSize_{0, 0};
  bool autoSize_;
  bool stretch_ = false;
  bool pressed_ = false;
};

}  // namespace lumorix::ui
