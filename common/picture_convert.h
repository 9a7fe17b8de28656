#pragma once
// Decoded pictures into the 32-bit RGB rows the video renderer takes. A
// negative stride walks the rows upwards, which is how a bottom-up bitmap is
// written from a top-down picture.
#include <cstddef>
#include <cstdint>

namespace lumorix {

// NV12 (a full-size Y plane, then interleaved U and V at half size, BT.601
// studio range) into blue, green, red, unused bytes per pixel.
void Nv12ToRgb32(const uint8_t* luma, ptrdiff_t lumaStride, const uint8_t* chroma, ptrdiff_t chromaStride, int width,
                 int height, uint8_t* out, ptrdiff_t outStride);

// Rows of 32-bit pixels copied as they are.
void CopyRgb32(const uint8_t* in, ptrdiff_t inStride, int width, int height, uint8_t* out, ptrdiff_t outStride);

}  // namespace lumorix
