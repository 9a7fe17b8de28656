#include "ui/image_list.h"

#include <algorithm>

#include "common/design_scale.h"
#include "ui/picture_file.h"

namespace lumorix::ui {

ImageList::ImageList(int width, int height)
    : handle_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)), width_(width), height_(height) {}

ImageList::~ImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

int ImageList::Width() const { return ScaleToDpi(width_, dpi_); }
int ImageList::Height() const { return ScaleToDpi(height_, dpi_); }
int ImageList::Count() const { return ImageList_GetImageCount(handle_); }

void ImageList::Clear() {
  ImageList_RemoveAll(handle_);
  images_.clear();
}

void ImageList::AddMasked(HBITMAP bitmap, COLORREF transparent) { AddSlices(bitmap, transparent); }
void ImageList::Add(HBITMAP bitmap) { AddSlices(bitmap, std::nullopt); }

void ImageList::AddSlices(HBITMAP bitmap, std::optional<COLORREF> transparent) {
  const PremultipliedImage strip = ImageFromBitmap(bitmap, transparent);
  if (width_ <= 0 || height_ <= 0) return;
  const uint32_t width = static_cast<uint32_t>(width_), height = static_cast<uint32_t>(height_);
  // As the system's list does: one image per whole image width, cut at the top.
  for (uint32_t left = 0; left + width <= strip.width; left += width) {
    PremultipliedImage slice{width, height, std::vector<uint32_t>(size_t{width} * height, 0u)};
    for (uint32_t y = 0; y < std::min(height, strip.height); ++y)
      std::copy_n(strip.pixels.begin() + static_cast<ptrdiff_t>(size_t{y} * strip.width + left), width,
                  slice.pixels.begin() + static_cast<ptrdiff_t>(size_t{y} * width));
    images_.push_back(slice);
    AddScaled(images_.back());
  }
}

void ImageList::AddScaled(const PremultipliedImage& image) {
  const bool designed = Width() == width_ && Height() == height_;
  UniqueBitmap bitmap = BitmapFromImage(designed ? image : ResampleArea(image, Width(), Height()));
  ImageList_Add(handle_, bitmap.Get(), nullptr);
}

void ImageList::SetDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  // Setting the size empties the list.
  ImageList_SetIconSize(handle_, Width(), Height());
  for (const PremultipliedImage& image : images_) AddScaled(image);
}

}  // namespace lumorix::ui
