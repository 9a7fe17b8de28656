// PNG pictures of every kind decoded to premultiplied pixels.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <vector>

#include "common/png_image.h"

using namespace lumorix;

namespace {

// Encodes `pixels` (in `format`'s layout) with libpng's own writer.
std::vector<uint8_t> Encode(uint32_t width, uint32_t height, uint32_t format, const std::vector<uint8_t>& pixels,
                            const std::vector<uint8_t>& colormap = {}) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = format;
  image.colormap_entries = static_cast<uint32_t>(colormap.size() / 4);
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0,
                                        colormap.empty() ? nullptr : colormap.data()));
  std::vector<uint8_t> file(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, file.data(), &size, 0, pixels.data(), 0,
                                        colormap.empty() ? nullptr : colormap.data()));
  file.resize(size);
  return file;
}

}  // namespace

TEST(PngImage, RgbaIsPremultipliedAndKeepsRowOrder) {
  // Top row: opaque red, half-transparent white; bottom row: clear green, opaque blue.
  std::vector<uint8_t> pixels = {255, 0, 0, 255, 255, 255, 255, 128, 0, 255, 0, 0, 0, 0, 255, 255};
  std::vector<uint8_t> file = Encode(2, 2, PNG_FORMAT_RGBA, pixels);
  std::optional<PremultipliedImage> image = DecodePng(file.data(), file.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 2u);
  EXPECT_EQ(image->height, 2u);
  EXPECT_EQ(image->Pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(image->Pixel(1, 0), 0x80808080u);
  EXPECT_EQ(image->Pixel(0, 1), 0x00000000u);  // a clear pixel carries no colour
  EXPECT_EQ(image->Pixel(1, 1), 0xFF0000FFu);
}

TEST(PngImage, OpaqueGreyAndPaletteFilesGiveFullAlpha) {
  std::vector<uint8_t> grey = {0, 200};
  std::vector<uint8_t> greyFile = Encode(2, 1, PNG_FORMAT_GRAY, grey);
  std::optional<PremultipliedImage> image = DecodePng(greyFile.data(), greyFile.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Pixel(0, 0), 0xFF000000u);
  EXPECT_EQ(image->Pixel(1, 0), 0xFFC8C8C8u);

  std::vector<uint8_t> colormap = {10, 20, 30, 255, 0, 0, 0, 0};
  std::vector<uint8_t> indexed = {0, 1, 1, 0};
  std::vector<uint8_t> paletteFile = Encode(4, 1, PNG_FORMAT_RGBA_COLORMAP, indexed, colormap);
  image = DecodePng(paletteFile.data(), paletteFile.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Pixel(0, 0), 0xFF0A141Eu);
  EXPECT_EQ(image->Pixel(1, 0), 0x00000000u);
}

TEST(PngImage, DamagedOrForeignDataIsRefused) {
  std::vector<uint8_t> pixels(4 * 4 * 4, 200);
  std::vector<uint8_t> file = Encode(4, 4, PNG_FORMAT_RGBA, pixels);
  EXPECT_FALSE(DecodePng(file.data(), file.size() / 2));
  EXPECT_FALSE(DecodePng(file.data(), 0));
  EXPECT_FALSE(DecodePng(nullptr, 10));
  const uint8_t bitmap[] = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
  EXPECT_FALSE(DecodePng(bitmap, sizeof bitmap));
  std::vector<uint8_t> corrupt = file;
  corrupt[corrupt.size() / 2] ^= 0xFF;
  EXPECT_FALSE(DecodePng(corrupt.data(), corrupt.size()));
}

TEST(PngImage, PremultiplyRoundsToNearest) {
  EXPECT_EQ(Premultiply(255, 255, 255, 0), 0u);
  EXPECT_EQ(Premultiply(255, 128, 1, 255), 0xFFFF8001u);
  EXPECT_EQ(Premultiply(200, 100, 50, 128), 0x80643219u);
}
