#include "common/picture_convert.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace lumorix {

namespace {

uint8_t Clamp(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

struct Yuv {
  int y, u, v;
};

// Inlined: it runs once for every pixel of every frame.
[[gnu::always_inline]] inline void YuvToBgr(const Yuv& sample, uint8_t* pixel) {
  int c = 298 * (sample.y - 16);
  int d = sample.u - 128;
  int e = sample.v - 128;
  pixel[0] = Clamp((c + 516 * d + 128) >> 8);
  pixel[1] = Clamp((c - 100 * d - 208 * e + 128) >> 8);
  pixel[2] = Clamp((c + 409 * e + 128) >> 8);
  pixel[3] = 0;
}

// A row of pixels whose Y, U and V each stand in an array of their own, into
// blue, green, red, unused: the same arithmetic as YuvToBgr, in a loop plain
// enough for the compiler to run on several pixels at once.
void PlanarRowToBgr(const uint8_t* y, const uint8_t* u, const uint8_t* v, int count, uint8_t* out) {
  for (int x = 0; x < count; ++x) {
    int c = 298 * (y[x] - 16), d = u[x] - 128, e = v[x] - 128;
    uint32_t blue = static_cast<uint32_t>(std::clamp((c + 516 * d + 128) >> 8, 0, 255));
    uint32_t green = static_cast<uint32_t>(std::clamp((c - 100 * d - 208 * e + 128) >> 8, 0, 255));
    uint32_t red = static_cast<uint32_t>(std::clamp((c + 409 * e + 128) >> 8, 0, 255));
    // A whole pixel at once: byte by byte, the compiler stores each one on its own.
    uint32_t pixel = blue | green << 8 | red << 16;
    std::memcpy(out + 4 * x, &pixel, 4);
  }
}

Yuv SampleYuv(const PictureView& in, int x, int y) {
  if (in.layout == PixelLayout::kNv12) {
    const uint8_t* uv = in.chroma + (y / 2) * in.chromaStride + (x & ~1);
    return {in.rows[y * in.stride + x], uv[0], uv[1]};
  }
  const uint8_t* pair = in.rows + y * in.stride + (x / 2) * 4;
  return {pair[(x & 1) * 2], pair[1], pair[3]};
}

void SampleBgr(const PictureView& in, int x, int y, uint8_t* pixel) {
  if (in.layout == PixelLayout::kRgb32) {
    std::memcpy(pixel, in.rows + y * in.stride + x * 4, 4);
    return;
  }
  YuvToBgr(SampleYuv(in, x, y), pixel);
}

// Where pixel (x, y) of the turned picture lies in a picture of inWidth x inHeight.
struct Turn {
  int quarterTurns, inWidth, inHeight;
  void Source(int x, int y, int& sx, int& sy) const {
    switch (quarterTurns) {
      case 1:
        sx = y, sy = inHeight - 1 - x;
        break;
      case 2:
        sx = inWidth - 1 - x, sy = inHeight - 1 - y;
        break;
      case 3:
        sx = inWidth - 1 - y, sy = x;
        break;
      default:
        sx = x, sy = y;
    }
  }
};

void CopyRows(const uint8_t* in, ptrdiff_t inStride, ptrdiff_t bytes, int rows, uint8_t* out, ptrdiff_t outStride) {
  for (int row = 0; row < rows; ++row)
    std::memcpy(out + row * outStride, in + row * inStride, static_cast<size_t>(bytes));
}

void CopySameLayout(const PictureView& in, const PictureTarget& out) {
  CopyRows(in.rows, in.stride, RowBytes(in.layout, in.width), in.height, out.rows, out.stride);
  if (in.layout == PixelLayout::kNv12)
    CopyRows(in.chroma, in.chromaStride, (in.width + 1) / 2 * 2, (in.height + 1) / 2, out.chroma, out.chromaStride);
}

void WritePixel(const PictureView& in, int sx, int sy, const PictureTarget& out, int x, int y) {
  switch (out.layout) {
    case PixelLayout::kRgb32:
      SampleBgr(in, sx, sy, out.rows + y * out.stride + x * 4);
      return;
    case PixelLayout::kYuy2: {
      Yuv sample = SampleYuv(in, sx, sy);
      uint8_t* pair = out.rows + y * out.stride + (x / 2) * 4;
      pair[(x & 1) * 2] = static_cast<uint8_t>(sample.y);
      if ((x & 1) == 0) {
        pair[1] = static_cast<uint8_t>(sample.u);
        pair[3] = static_cast<uint8_t>(sample.v);
        if (x == out.width - 1) pair[2] = static_cast<uint8_t>(sample.y);  // an odd width's padding pixel
      }
      return;
    }
    case PixelLayout::kNv12: {
      Yuv sample = SampleYuv(in, sx, sy);
      out.rows[y * out.stride + x] = static_cast<uint8_t>(sample.y);
      if ((x & 1) == 0 && (y & 1) == 0) {
        uint8_t* uv = out.chroma + (y / 2) * out.chromaStride + x;
        uv[0] = static_cast<uint8_t>(sample.u);
        uv[1] = static_cast<uint8_t>(sample.v);
      }
      return;
    }
  }
}

}  // namespace

ptrdiff_t RowBytes(PixelLayout layout, int width) {
  switch (layout) {
    case PixelLayout::kNv12:
      return width;
    case PixelLayout::kYuy2:
      return static_cast<ptrdiff_t>((width + 1) / 2) * 4;
    case PixelLayout::kRgb32:
      break;
  }
  return static_cast<ptrdiff_t>(width) * 4;
}

ptrdiff_t ImageBytes(PixelLayout layout, ptrdiff_t stride, int height) {
  ptrdiff_t luma = stride * height;
  return layout == PixelLayout::kNv12 ? luma + stride * ((height + 1) / 2) : luma;
}

bool CanConvert(PixelLayout from, PixelLayout to) {
  return from == to || to == PixelLayout::kRgb32 || from == PixelLayout::kNv12;
}

void ConvertPicture(const PictureView& in, int quarterTurns, const PictureTarget& out) {
  if (!CanConvert(in.layout, out.layout) || in.width <= 0 || in.height <= 0) return;
  quarterTurns &= 3;
  if (quarterTurns == 0 && in.layout == PixelLayout::kNv12 && out.layout == PixelLayout::kRgb32 && out.width > 0 &&
      out.height > 0 && out.width <= in.width && out.height <= in.height &&
      (out.width < in.width || out.height < in.height))
    return ShrinkNv12ToRgb32(in, out);
  if (quarterTurns == 0 && in.layout == out.layout) return CopySameLayout(in, out);
  if (quarterTurns == 0 && in.layout == PixelLayout::kNv12 && out.layout == PixelLayout::kRgb32)
    return Nv12ToRgb32(in.rows, in.stride, in.chroma, in.chromaStride, in.width, in.height, out.rows, out.stride);
  Turn turn{quarterTurns, in.width, in.height};
  int width = std::min(out.width, quarterTurns & 1 ? in.height : in.width);
  int height = std::min(out.height, quarterTurns & 1 ? in.width : in.height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int sx = 0, sy = 0;
      turn.Source(x, y, sx, sy);
      WritePixel(in, sx, sy, out, x, y);
    }
}

void ShrinkNv12ToRgb32(const PictureView& in, const PictureTarget& out) {
  if (in.layout != PixelLayout::kNv12) return;
  ShrinkYuv420ToRgb32({in.width, in.height, in.rows, in.stride, in.chroma, in.chroma + 1, in.chromaStride, 2}, out);
}

void ShrinkYuv420ToRgb32(const Yuv420View& in, const PictureTarget& out) {
  if (out.layout != PixelLayout::kRgb32 || out.width <= 0 || out.height <= 0 || out.width > in.width ||
      out.height > in.height || (in.chromaStep != 1 && in.chromaStep != 2))
    return;
  // What falls on output column (or row) i: `count` source ones from `first`,
  // and the chroma at their middle (the even luma column or row it serves).
  struct Span {
    int first, count, chroma;
  };
  auto spans = [](int in, int out) {
    std::vector<Span> result(static_cast<size_t>(out));
    for (int i = 0; i < out; ++i) {
      int first = static_cast<int>(static_cast<int64_t>(i) * in / out);
      int next = static_cast<int>(static_cast<int64_t>(i + 1) * in / out);
      result[i] = {first, next - first, ((first + next) / 2) & ~1};
    }
    return result;
  };
  std::vector<Span> columns = spans(in.width, out.width), rows = spans(in.height, out.height);
  int widest = (in.width + out.width - 1) / out.width, tallest = (in.height + out.height - 1) / out.height;
  // The sums are kept twice over: each column's, then each pair's from that
  // column on, then a zero. An output column whose span is one or two columns
  // wide reads one of them; a wider one adds up its span from the first part.
  size_t width = static_cast<size_t>(in.width);
  std::vector<uint32_t> sums(2 * width + 1, 0);
  std::vector<uint32_t> pick(static_cast<size_t>(out.width));
  std::vector<ptrdiff_t> chromaAt(static_cast<size_t>(out.width));
  for (int x = 0; x < out.width; ++x) {
    const Span& column = columns[x];
    pick[x] = static_cast<uint32_t>(column.count == 2 ? width + column.first : column.first);
    chromaAt[x] = column.chroma / 2 * in.chromaStep;
  }
  // Sums are divided by multiplying with 65536 / count: per output column, for each height of row span.
  std::vector<uint32_t> reciprocal(static_cast<size_t>(out.width) * (tallest + 1));
  for (int rowCount = 1; rowCount <= tallest; ++rowCount)
    for (int x = 0; x < out.width; ++x)
      reciprocal[static_cast<size_t>(rowCount) * out.width + x] =
          static_cast<uint32_t>(65536 / (rowCount * columns[x].count));
  std::vector<uint8_t> planes(static_cast<size_t>(out.width) * 3);
  uint8_t *luma = planes.data(), *blue = luma + out.width, *red = blue + out.width;
  uint32_t* columnSums = sums.data();
  uint32_t* pairSums = columnSums + width;
  for (int y = 0; y < out.height; ++y) {
    const Span& row = rows[y];
    // The rows this one covers, added up column by column, then across each span.
    const uint8_t* from = in.luma + row.first * in.lumaStride;
    for (size_t x = 0; x < width; ++x) columnSums[x] = from[x];
    for (int r = 1; r < row.count; ++r) {
      from += in.lumaStride;
      for (size_t x = 0; x < width; ++x) columnSums[x] += from[x];
    }
    const uint32_t* divide = reciprocal.data() + static_cast<size_t>(row.count) * out.width;
    if (widest <= 2) {
      for (size_t x = 0; x + 1 < width; ++x) pairSums[x] = columnSums[x] + columnSums[x + 1];
      for (int x = 0; x < out.width; ++x) luma[x] = static_cast<uint8_t>((sums[pick[x]] * divide[x] + 32768) >> 16);
    } else {
      for (int x = 0; x < out.width; ++x) {
        uint32_t sum = 0;
        for (int c = 0; c < columns[x].count; ++c) sum += columnSums[columns[x].first + c];
        luma[x] = static_cast<uint8_t>((sum * divide[x] + 32768) >> 16);
      }
    }
    const uint8_t* u = in.u + (row.chroma / 2) * in.chromaStride;
    const uint8_t* v = in.v + (row.chroma / 2) * in.chromaStride;
    for (int x = 0; x < out.width; ++x) {
      blue[x] = u[chromaAt[x]];
      red[x] = v[chromaAt[x]];
    }
    PlanarRowToBgr(luma, blue, red, out.width, out.rows + y * out.stride);
  }
}

void Nv12ToRgb32(const uint8_t* luma, ptrdiff_t lumaStride, const uint8_t* chroma, ptrdiff_t chromaStride, int width,
                 int height, uint8_t* out, ptrdiff_t outStride) {
  std::vector<uint8_t> planes(static_cast<size_t>(width) * 2);
  uint8_t *blue = planes.data(), *red = blue + width;
  for (int row = 0; row < height; ++row) {
    // Each chroma pair serves two pixels of this row and of the next.
    const uint8_t* uv = chroma + (row / 2) * chromaStride;
    if (row % 2 == 0)
      for (int column = 0; column < width; ++column) {
        blue[column] = uv[column & ~1];
        red[column] = uv[(column & ~1) + 1];
      }
    PlanarRowToBgr(luma + row * lumaStride, blue, red, width, out + row * outStride);
  }
}

}  // namespace lumorix
