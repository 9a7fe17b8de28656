#include "common/png_image.h"

#include <png.h>

#include "common/picture_header.h"

#include <cstring>

namespace lumorix {

namespace {

uint32_t Scale(uint32_t channel, uint32_t alpha) { return (channel * alpha + 127) / 255; }

// Frees libpng's reading state on every way out.
class PngReader {
 public:
  PngReader() {
    std::memset(&image_, 0, sizeof image_);
    image_.version = PNG_IMAGE_VERSION;
  }
  ~PngReader() { png_image_free(&image_); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  png_image& Image() { return image_; }

 private:
  png_image image_;
};

}  // namespace

uint32_t Premultiply(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  return uint32_t{alpha} << 24 | Scale(red, alpha) << 16 | Scale(green, alpha) << 8 | Scale(blue, alpha);
}

std::optional<PremultipliedImage> DecodePng(const uint8_t* data, size_t size) {
  if (!data || size == 0) return std::nullopt;
  PngReader reader;
  png_image& image = reader.Image();
  if (!png_image_begin_read_from_memory(&image, data, size)) return std::nullopt;
  image.format = PNG_FORMAT_RGBA;
  // Refuse pictures too large to be a button or a logo before allocating for them.
  if (image.width == 0 || image.height == 0 || !FitsSkin({image.width, image.height})) return std::nullopt;
  std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return std::nullopt;

  PremultipliedImage result;
  result.width = image.width;
  result.height = image.height;
  result.pixels.resize(static_cast<size_t>(image.width) * image.height);
  for (size_t i = 0; i < result.pixels.size(); ++i) {
    const uint8_t* p = &rgba[i * 4];
    result.pixels[i] = Premultiply(p[0], p[1], p[2], p[3]);
  }
  return result;
}

}  // namespace lumorix
