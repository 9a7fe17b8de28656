#pragma once
// An owned list of equally sized images for tool bars. The images are kept as
// designed (96 DPI) and the list holds them resampled to its DPI.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <vector>

#include "common/png_image.h"

namespace lumorix::ui {

class ImageList {
 public:
  // The size of one image in design units.
  ImageList(int width, int height);
  ~ImageList();
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;

  HIMAGELIST Handle() const { return handle_; }
  // The size of one image in pixels at the list's DPI.
  int Width() const;
  int Height() const;
  int Count() const;
  void Clear();
  // Appends every image-wide slice of `bitmap`; pixels of `transparent` are see-through.
  void AddMasked(HBITMAP bitmap, COLORREF transparent);
  // Appends a 32-bit bitmap with its own alpha channel.
  void Add(HBITMAP bitmap);
  // Makes every image again at `dpi`; the handle stays the same.
  void SetDpi(int dpi);
  int Dpi() const { return dpi_; }

 private:
  void AddSlices(HBITMAP bitmap, std::optional<COLORREF> transparent);
  void AddScaled(const PremultipliedImage& image);

  HIMAGELIST handle_;
  int width_;
  int height_;
  int dpi_ = 96;
  std::vector<PremultipliedImage> images_;  // as designed
};

}  // namespace lumorix::ui
