#include "player/engine/shrink/picture_shrinker.h"

#include "common/video_geometry.h"

namespace lumorix::engine {

namespace {

// {2B8D7C41-95E3-4A6F-B0C2-6E1D3F9A7B54}: made in-process only, never registered.
constexpr CLSID kShrinkerClass = {0x2b8d7c41, 0x95e3, 0x4a6f, {0xb0, 0xc2, 0x6e, 0x1d, 0x3f, 0x9a, 0x7b, 0x54}};

// FOURCC subtypes: the code in the first field, the rest fixed.
constexpr GUID kFourCcBase = {0, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

}  // namespace

std::optional<Yuv420Order> PictureShrinker::OrderOf(const GUID& subtype) {
  GUID base = subtype;
  base.Data1 = 0;
  if (base != kFourCcBase) return std::nullopt;
  return Yuv420FromFourCc(subtype.Data1);
}

PictureShrinker::PictureShrinker(SIZE limit) : FilterBase(kShrinkerClass), limit_(limit) {}

std::vector<IPin*> PictureShrinker::Pins() { return {Input(), Output()}; }

bool PictureShrinker::TakesYuv(const AM_MEDIA_TYPE& type) {
  if (type.majortype != MEDIATYPE_Video || type.formattype != FORMAT_VideoInfo || !type.pbFormat ||
      type.cbFormat < sizeof(VIDEOINFOHEADER) || !OrderOf(type.subtype))
    return false;
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
  // YUV rows run top-down whatever the sign says; a negative height is not a picture we know.
  const BITMAPINFOHEADER& header = info->bmiHeader;
  return header.biWidth >= 2 && header.biHeight >= 2 && header.biWidth <= 16384 && header.biHeight <= 16384;
}

PictureShrinker::Source PictureShrinker::Picture() const {
  std::lock_guard hold(pictureLock_);
  return picture_;
}

void PictureShrinker::SetPicture(const Source& picture) {
  std::lock_guard hold(pictureLock_);
  picture_ = picture;
}

SIZE PictureShrinker::Shrunk() const {
  Source picture = Picture();
  PictureRect fit = FitNoLarger(picture.width, picture.height, limit_.cx, limit_.cy);
  return {fit.width, fit.height};
}

}  // namespace lumorix::engine
