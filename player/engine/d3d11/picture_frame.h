#pragma once
// A picture as the renderer hands it to the presenter: its format, fixed
// while the renderer's input is connected, and each frame's samples, in
// memory or in a texture of the presenter's device (a decoder's).
#include <windows.h>

#include <cstddef>

#include "common/picture_colour.h"

struct ID3D11Texture2D;

namespace lumorix::engine {

enum class PictureLayout { kRgb32, kRgb24, kNv12, kI420, kYv12, kYuy2 };

struct PictureFormat {
  PictureLayout layout = PictureLayout::kNv12;
  int width = 0;  // the picture shown
  int height = 0;
  int bufferWidth = 0;  // pixels a row of the buffer holds (the first plane's stride in pixels)
  int bufferHeight = 0;
  bool bottomUp = false;  // RGB rows bottom row first (RGB24 rows padded to four bytes)
  YuvMatrix matrix = YuvMatrix::kBt601;
  YuvRange range = YuvRange::kLimited;
  bool operator==(const PictureFormat&) const = default;
};

struct PictureFrame {
  const BYTE* data = nullptr;  // the buffer as the format lays it out
  size_t size = 0;
  ID3D11Texture2D* texture = nullptr;  // instead: a texture (NV12 or BGRA) on the presenter's device
  UINT subresource = 0;
};

// Bytes a buffer of `format` needs.
size_t BufferBytes(const PictureFormat& format);

}  // namespace lumorix::engine
