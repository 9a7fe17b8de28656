#pragma once
// Decoded pictures into the rows a video renderer takes: copied as they are,
// repacked from one YUV layout into another, or converted to 32-bit RGB, and
// turned in quarter turns on the way. A negative stride walks the rows
// upwards, which is how a bottom-up bitmap is written from a top-down picture.
#include <cstddef>
#include <cstdint>

namespace lumorix {

enum class PixelLayout {
  kNv12,   // a full-size Y plane, then interleaved U and V at half size each way
  kYuy2,   // Y0 U Y1 V for each pair of pixels
  kRgb32,  // blue, green, red, unused
};

// A picture in memory: its first plane (Y, or the packed pixels) and, for
// NV12, the chroma plane. Width and height are in pixels.
template <typename Byte>
struct PicturePlanes {
  PixelLayout layout = PixelLayout::kRgb32;
  int width = 0;
  int height = 0;
  Byte* rows = nullptr;
  ptrdiff_t stride = 0;
  Byte* chroma = nullptr;
  ptrdiff_t chromaStride = 0;
};
using PictureView = PicturePlanes<const uint8_t>;
using PictureTarget = PicturePlanes<uint8_t>;

// Bytes of the first plane a row of `width` pixels needs.
ptrdiff_t RowBytes(PixelLayout layout, int width);

// Bytes of a whole picture whose first plane has rows of `stride` bytes.
ptrdiff_t ImageBytes(PixelLayout layout, ptrdiff_t stride, int height);

// Whether a picture in `from` can be written in `to` (RGB is never turned into YUV).
bool CanConvert(PixelLayout from, PixelLayout to);

// `in` turned clockwise by `quarterTurns` (0 to 3) and written into `out`,
// whose size is the turned size. YUV is taken as BT.601 studio range.
void ConvertPicture(const PictureView& in, int quarterTurns, const PictureTarget& out);

// A 4:2:0 picture: luma at full size, U and V at half size each way, either
// interleaved (NV12: `chromaStep` 2, V right after U) or in planes of their
// own (I420 and YV12: `chromaStep` 1).
struct Yuv420View {
  int width = 0;
  int height = 0;
  const uint8_t* luma = nullptr;
  ptrdiff_t lumaStride = 0;
  const uint8_t* u = nullptr;
  const uint8_t* v = nullptr;
  ptrdiff_t chromaStride = 0;
  int chromaStep = 2;
};

// A 4:2:0 picture into 32-bit RGB at the size of `out`, no larger than the
// picture: each pixel the mean of the luma it covers, chroma taken at its middle.
void ShrinkYuv420ToRgb32(const Yuv420View& in, const PictureTarget& out);

// The same for an NV12 picture.
void ShrinkNv12ToRgb32(const PictureView& in, const PictureTarget& out);

// NV12 into 32-bit RGB, the rows as they are.
void Nv12ToRgb32(const uint8_t* luma, ptrdiff_t lumaStride, const uint8_t* chroma, ptrdiff_t chromaStride, int width,
                 int height, uint8_t* out, ptrdiff_t outStride);

}  // namespace lumorix
