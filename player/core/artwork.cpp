#include "player/core/artwork.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace lumorix {

namespace {

// A 32-bit top-down bitmap with premultiplied alpha, drawn point by point by `shade`.
using Shade = std::function<uint32_t(int x, int y)>;

ui::UniqueBitmap DrawBitmap(int width, int height, const Shade& shade) {
  ui::Dib32 dib = ui::CreateDib32(width, height);
  if (!dib.bitmap) return {};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) dib.bits[y * width + x] = shade(x, y);
  return std::move(dib.bitmap);
}

constexpr uint32_t Opaque(uint8_t red, uint8_t green, uint8_t blue) {
  return 0xFF000000u | (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
}

constexpr uint32_t kClear = 0;
constexpr uint32_t kGlyph = Opaque(40, 48, 64);

bool InTriangleRight(int x, int y, int left, int top, int width, int height) {
  if (x < left || x >= left + width || y < top || y >= top + height) return false;
  int half = height / 2;
  int dy = y - top < half ? y - top : top + height - 1 - y;
  return x - left <= dy * width / half;
}

bool InTriangleLeft(int x, int y, int left, int top, int width, int height) {
  return InTriangleRight(2 * left + width - 1 - x, y, left, top, width, height);
}

bool InBox(int x, int y, int left, int top, int width, int height) {
  return x >= left && x < left + width && y >= top && y < top + height;
}

}  // namespace

void AddTransportImages(ui::ImageList& images) {
  const int w = 45, h = 39;
  std::array<Shade, 5> glyphs = {
      Shade([](int x, int y) {
        return InBox(x, y, 10, 10, 4, 19) || InTriangleLeft(x, y, 14, 10, 20, 19) ? kGlyph : kClear;
      }),
      Shade([](int x, int y) { return InTriangleRight(x, y, 14, 8, 20, 23) ? kGlyph : kClear; }),
      Shade([](int x, int y) { return InBox(x, y, 13, 9, 7, 21) || InBox(x, y, 25, 9, 7, 21) ? kGlyph : kClear; }),
      Shade([](int x, int y) { return InBox(x, y, 12, 9, 21, 21) ? kGlyph : kClear; }),
      Shade([](int x, int y) {
        return InTriangleRight(x, y, 11, 10, 20, 19) || InBox(x, y, 31, 10, 4, 19) ? kGlyph : kClear;
      }),
  };
  for (const auto& glyph : glyphs) {
    ui::UniqueBitmap bitmap = DrawBitmap(w, h, glyph);
    images.Add(bitmap.Get());
  }
}

void AddPlayListImages(ui::ImageList& images) {
  const uint32_t green = Opaque(40, 150, 60), red = Opaque(190, 40, 40), blue = Opaque(40, 80, 190);
  std::array<Shade, 4> glyphs = {
      Shade([green](int x, int y) { return InBox(x, y, 10, 4, 4, 16) || InBox(x, y, 4, 10, 16, 4) ? green : kClear; }),
      Shade([red](int x, int y) { return InBox(x, y, 4, 10, 16, 4) ? red : kClear; }),
      Shade([blue](int x, int y) {
        bool ring = InBox(x, y, 4, 6, 16, 12) && !InBox(x, y, 7, 9, 10, 6);
        return ring || InTriangleRight(x, y, 15, 2, 6, 8) ? blue : kClear;
      }),
      Shade([blue](int x, int y) {
        bool cross = (x - y >= -2 && x - y <= 2 && InBox(x, y, 3, 3, 18, 18)) ||
                     (x + y >= 21 && x + y <= 25 && InBox(x, y, 3, 3, 18, 18));
        return cross ? blue : kClear;
      }),
  };
  for (const auto& glyph : glyphs) {
    ui::UniqueBitmap bitmap = DrawBitmap(24, 24, glyph);
    images.Add(bitmap.Get());
  }
}

}  // namespace lumorix
