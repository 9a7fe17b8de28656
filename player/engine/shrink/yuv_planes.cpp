#include "player/engine/shrink/yuv_planes.h"

#include "platform/dshow.h"

namespace lumorix::engine {

namespace {

// FOURCC subtypes: the code in the first field, the rest fixed.
constexpr GUID FourCc(DWORD code) { return {code, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}}; }
constexpr GUID kI420 = FourCc(0x30323449), kIyuv = FourCc(0x56555949), kYv12 = FourCc(0x32315659),
               kNv12 = FourCc(0x3231564e);

}  // namespace

bool IsYuv420(const GUID& subtype) {
  return subtype == kI420 || subtype == kIyuv || subtype == kYv12 || subtype == kNv12;
}

Yuv420View Yuv420Planes(const GUID& subtype, const uint8_t* data, int width, int height, size_t* bytes) {
  Yuv420View view;
  if (!IsYuv420(subtype) || width <= 0 || height <= 0) return view;
  view.width = width;
  view.height = height;
  view.luma = data;
  view.lumaStride = Yuv420LumaStride(width);
  const uint8_t* chroma = data + view.lumaStride * height;
  int chromaRows = (height + 1) / 2;
  if (subtype == kNv12) {
    view.u = chroma;
    view.v = chroma + 1;
    view.chromaStride = view.lumaStride;
    view.chromaStep = 2;
    *bytes = static_cast<size_t>(view.lumaStride) * (height + chromaRows);
    return view;
  }
  view.chromaStride = (((width + 1) / 2) + 3) & ~3;
  view.chromaStep = 1;
  const uint8_t* second = chroma + view.chromaStride * chromaRows;
  bool vFirst = subtype == kYv12;
  view.u = vFirst ? second : chroma;
  view.v = vFirst ? chroma : second;
  *bytes = static_cast<size_t>(view.lumaStride) * height + static_cast<size_t>(view.chromaStride) * chromaRows * 2;
  return view;
}

}  // namespace lumorix::engine
