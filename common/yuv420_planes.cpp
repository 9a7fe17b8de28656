#include "common/yuv420_planes.h"

namespace lumorix {

namespace {

constexpr uint32_t FourCc(char a, char b, char c, char d) {
  return static_cast<uint32_t>(a) | static_cast<uint32_t>(b) << 8 | static_cast<uint32_t>(c) << 16 |
         static_cast<uint32_t>(d) << 24;
}

ptrdiff_t PaddedRow(int bytes) { return (bytes + 3) & ~3; }

}  // namespace

std::optional<Yuv420Order> Yuv420FromFourCc(uint32_t fourCc) {
  if (fourCc == FourCc('N', 'V', '1', '2')) return Yuv420Order::kNv12;
  if (fourCc == FourCc('I', '4', '2', '0') || fourCc == FourCc('I', 'Y', 'U', 'V')) return Yuv420Order::kI420;
  if (fourCc == FourCc('Y', 'V', '1', '2')) return Yuv420Order::kYv12;
  return std::nullopt;
}

Yuv420View Yuv420Planes(Yuv420Order order, const uint8_t* data, int width, int height, size_t* bytes) {
  Yuv420View view;
  *bytes = 0;
  if (width <= 0 || height <= 0) return view;
  view.width = width;
  view.height = height;
  view.luma = data;
  view.lumaStride = PaddedRow(width);
  const uint8_t* chroma = data + view.lumaStride * height;
  int chromaRows = (height + 1) / 2;
  if (order == Yuv420Order::kNv12) {
    view.u = chroma;
    view.v = chroma + 1;
    view.chromaStride = view.lumaStride;
    view.chromaStep = 2;
    *bytes = static_cast<size_t>(view.lumaStride) * (height + chromaRows);
    return view;
  }
  view.chromaStride = PaddedRow((width + 1) / 2);
  view.chromaStep = 1;
  const uint8_t* second = chroma + view.chromaStride * chromaRows;
  view.u = order == Yuv420Order::kYv12 ? second : chroma;
  view.v = order == Yuv420Order::kYv12 ? chroma : second;
  *bytes = static_cast<size_t>(view.lumaStride * height + view.chromaStride * chromaRows * 2);
  return view;
}

}  // namespace lumorix
