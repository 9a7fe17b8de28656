#include "common/design_scale.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "common/video_geometry.h"

namespace lumorix {

namespace {

int ValidDpi(int dpi) { return dpi < 1 ? kDesignDpi : dpi; }

// The source interval [index * from, (index + 1) * from) of a new pixel, in units
// of 1/to source pixels, and the overlap of one source pixel with it.
struct Footprint {
  int first = 0;  // first source pixel touched
  int last = 0;   // last source pixel touched
};

Footprint FootprintOf(int index, int from, int to) {
  const int64_t begin = static_cast<int64_t>(index) * from;
  const int64_t end = begin + from;
  return {static_cast<int>(begin / to), static_cast<int>((end - 1) / to)};
}

int64_t Overlap(int sourceIndex, int index, int from, int to) {
  const int64_t begin = static_cast<int64_t>(index) * from, end = begin + from;
  const int64_t sourceBegin = static_cast<int64_t>(sourceIndex) * to, sourceEnd = sourceBegin + to;
  return std::max<int64_t>(0, std::min(end, sourceEnd) - std::max(begin, sourceBegin));
}

}  // namespace

int ScaleToDpi(int designUnits, int dpi) { return MulDivRounded(designUnits, ValidDpi(dpi), kDesignDpi); }

int RescaleDpi(int pixels, int fromDpi, int toDpi) { return MulDivRounded(pixels, ValidDpi(toDpi), ValidDpi(fromDpi)); }

ScaledSpan ScaleSpan(int start, int length, int dpi) {
  const int scaledStart = ScaleToDpi(start, dpi);
  return {scaledStart, ScaleToDpi(start + length, dpi) - scaledStart};
}

int ScaleFontHeight(int designHeight, int dpi) {
  if (designHeight == 0) return 0;
  const int scaled = ScaleToDpi(designHeight, dpi);
  if (scaled == 0) return designHeight < 0 ? -1 : 1;
  return scaled;
}

std::wstring FontFaceAtDpi(const std::wstring& face, int dpi) {
  if (ValidDpi(dpi) != kDesignDpi && face == L"MS Sans Serif") return L"Microsoft Sans Serif";
  return face;
}

size_t PickArt(const std::vector<int>& widths, int wanted) {
  std::optional<size_t> fitting;
  size_t widest = 0;
  for (size_t i = 0; i < widths.size(); ++i) {
    if (widths[i] >= wanted && (!fitting || widths[i] < widths[*fitting])) fitting = i;
    if (widths[i] > widths[widest]) widest = i;
  }
  return fitting.value_or(widest);
}

PremultipliedImage ResampleArea(const PremultipliedImage& source, int width, int height) {
  PremultipliedImage result;
  result.width = static_cast<uint32_t>(std::max(width, 0));
  result.height = static_cast<uint32_t>(std::max(height, 0));
  result.pixels.assign(static_cast<size_t>(result.width) * result.height, 0u);
  if (source.width == 0 || source.height == 0 || source.pixels.size() < size_t{source.width} * source.height)
    return result;
  const int fromX = static_cast<int>(source.width), fromY = static_cast<int>(source.height);
  const int toX = static_cast<int>(result.width), toY = static_cast<int>(result.height);
  // Each new pixel covers fromX * fromY / (toX * toY) source pixels; in the units
  // of Overlap the weights of one new pixel add up to fromX * fromY.
  const int64_t total = static_cast<int64_t>(fromX) * fromY;
  for (int y = 0; y < toY; ++y) {
    const Footprint rows = FootprintOf(y, fromY, toY);
    for (int x = 0; x < toX; ++x) {
      const Footprint columns = FootprintOf(x, fromX, toX);
      int64_t sums[4] = {};
      for (int sy = rows.first; sy <= rows.last; ++sy) {
        const int64_t weightY = Overlap(sy, y, fromY, toY);
        for (int sx = columns.first; sx <= columns.last; ++sx) {
          const int64_t weight = weightY * Overlap(sx, x, fromX, toX);
          const uint32_t pixel = source.Pixel(static_cast<uint32_t>(sx), static_cast<uint32_t>(sy));
          for (int channel = 0; channel < 4; ++channel) sums[channel] += weight * ((pixel >> (channel * 8)) & 0xFF);
        }
      }
      uint32_t pixel = 0;
      for (int channel = 0; channel < 4; ++channel)
        pixel |= static_cast<uint32_t>((sums[channel] + total / 2) / total) << (channel * 8);
      result.pixels[static_cast<size_t>(y) * result.width + x] = pixel;
    }
  }
  return result;
}

}  // namespace lumorix
