#pragma once
// The 4:2:0 YUV layouts decoders hand out, and where their planes lie in a
// buffer: luma rows padded to four bytes, then NV12's interleaved chroma rows
// at the luma's stride, or I420's U plane and V plane (YV12: V first) with
// rows of half the width, padded to four bytes. That is GStreamer's layout,
// and Windows' for the usual widths.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "common/picture_convert.h"

namespace lumorix {

enum class Yuv420Order { kNv12, kI420, kYv12 };

// The layout a FOURCC code names (IYUV is I420); none for any other.
std::optional<Yuv420Order> Yuv420FromFourCc(uint32_t fourCc);

// The planes of a `width` x `height` buffer at `data`, and the bytes they take.
Yuv420View Yuv420Planes(Yuv420Order order, const uint8_t* data, int width, int height, size_t* bytes);

}  // namespace lumorix
