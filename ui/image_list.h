#pragma once
// An owned list of equally sized images for tool bars.
#include <windows.h>
#include <commctrl.h>

namespace lumorix::ui {

class ImageList {
 public:
  ImageList(int width, int height);
  ~ImageList();
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;

  HIMAGELIST Handle() const { return handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const;
  void Clear();
  // Appends every image-wide slice of `bitmap`; pixels of `transparent` are see-through.
  void AddMasked(HBITMAP bitmap, COLORREF transparent);
  // Appends a 32-bit bitmap with its own alpha channel.
  void Add(HBITMAP bitmap);

 private:
  HIMAGELIST handle_;
  int width_;
  int height_;
};

}  // namespace lumorix::ui
