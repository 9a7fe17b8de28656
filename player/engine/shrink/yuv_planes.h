#pragma once
// The 4:2:0 YUV layouts decoders hand out in DirectShow, and where their
// planes lie in a sample: luma rows padded to four bytes, then NV12's
// interleaved chroma rows at the luma's stride, or I420's U plane and V plane
// (YV12: V first) with rows of half the width, padded to four bytes. That is
// GStreamer's layout, and Windows' for the usual widths.
#include <windows.h>

#include <cstddef>

#include "common/picture_convert.h"

namespace lumorix::engine {

bool IsYuv420(const GUID& subtype);

// Bytes of a luma row of a picture `width` pixels wide.
inline int Yuv420LumaStride(int width) { return (width + 3) & ~3; }

// The planes of a `width` x `height` buffer of `subtype` at `data`, with the
// bytes they take; none (a null luma) for another subtype.
Yuv420View Yuv420Planes(const GUID& subtype, const uint8_t* data, int width, int height, size_t* bytes);

}  // namespace lumorix::engine
