#include "common/picture_convert.h"

#include <algorithm>
#include <cstring>

namespace lumorix {

namespace {

uint8_t Clamp(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

}  // namespace

void Nv12ToRgb32(const uint8_t* luma, ptrdiff_t lumaStride, const uint8_t* chroma, ptrdiff_t chromaStride, int width,
                 int height, uint8_t* out, ptrdiff_t outStride) {
  for (int row = 0; row < height; ++row) {
    const uint8_t* y = luma + row * lumaStride;
    const uint8_t* uv = chroma + (row / 2) * chromaStride;
    uint8_t* pixel = out + row * outStride;
    for (int column = 0; column < width; ++column, pixel += 4) {
      int c = 298 * (y[column] - 16);
      int d = uv[(column & ~1)] - 128;
      int e = uv[(column & ~1) + 1] - 128;
      pixel[0] = Clamp((c + 516 * d + 128) >> 8);
      pixel[1] = Clamp((c - 100 * d - 208 * e + 128) >> 8);
      pixel[2] = Clamp((c + 409 * e + 128) >> 8);
      pixel[3] = 0;
    }
  }
}

void CopyRgb32(const uint8_t* in, ptrdiff_t inStride, int width, int height, uint8_t* out, ptrdiff_t outStride) {
  for (int row = 0; row < height; ++row)
    std::memcpy(out + row * outStride, in + row * inStride, static_cast<size_t>(width) * 4);
}

}  // namespace lumorix
