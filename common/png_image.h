#pragma once
// PNG pictures decoded to 32-bit pixels with premultiplied alpha, the form in
// which the window blends them over its background.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace lumorix {

struct PremultipliedImage {
  uint32_t width = 0;
  uint32_t height = 0;
  // Top row first; each pixel 0xAARRGGBB with the colour already multiplied by alpha.
  std::vector<uint32_t> pixels;
  uint32_t Pixel(uint32_t x, uint32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Any PNG (palette, grey, 16-bit, with or without alpha); nothing for data that is not a whole PNG.
std::optional<PremultipliedImage> DecodePng(const uint8_t* data, size_t size);

// Multiplies a straight-alpha pixel's colour by its alpha, rounding to nearest.
uint32_t Premultiply(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);

}  // namespace lumorix
