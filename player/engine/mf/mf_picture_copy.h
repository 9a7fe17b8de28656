#pragma once
// A decoded Media Foundation picture into a renderer's buffer: the sample's
// buffer is locked (with its own row pitch where it has one, else the
// decoder's default stride, negative for a bottom-up picture), then copied,
// repacked or converted, and turned, by the portable picture conversion.
#include <windows.h>
#include <mfidl.h>

#include "common/picture_convert.h"

namespace lumorix::engine {

// How the decoder lays its pictures out.
struct DecodedLayout {
  PixelLayout layout = PixelLayout::kNv12;
  int width = 0;  // the picture shown
  int height = 0;
  int bufferHeight = 0;    // rows in the buffer before NV12's chroma plane (the decoder may pad)
  LONG defaultStride = 0;  // for a buffer without a pitch of its own
};

// Writes the picture of `sample` into `out`, turned clockwise by `quarterTurns`.
// False when the sample holds no picture of that layout (`out` is left as it was).
[[nodiscard]] bool CopySamplePicture(IMFSample* sample, const DecodedLayout& decoded, int quarterTurns,
                                     const PictureTarget& out);

}  // namespace lumorix::engine
