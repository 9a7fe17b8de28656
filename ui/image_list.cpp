#include "ui/image_list.h"

namespace lumorix::ui {

ImageList::ImageList(int width, int height)
    : handle_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)), width_(width), height_(height) {}

ImageList::~ImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

int ImageList::Count() const { return ImageList_GetImageCount(handle_); }
void ImageList::Clear() { ImageList_RemoveAll(handle_); }
void ImageList::AddMasked(HBITMAP bitmap, COLORREF transparent) { ImageList_AddMasked(handle_, bitmap, transparent); }
void ImageList::Add(HBITMAP bitmap) { ImageList_Add(handle_, bitmap, nullptr); }

}  // namespace lumorix::ui
