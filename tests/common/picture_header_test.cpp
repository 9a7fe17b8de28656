// The sizes picture files claim, read before anything is allocated for them.
#include <gtest/gtest.h>

#include "common/picture_header.h"

using namespace lumorix;

namespace {

std::string Little(uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
  return out;
}
std::string Png(uint32_t width, uint32_t height) {
  std::string header = std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
  for (uint32_t value : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) header += static_cast<char>(value >> shift & 0xFF);
  return header;
}
std::string Dib(int32_t width, int32_t height) { return Little(40, 4) + Little(width, 4) + Little(height, 4); }
const std::string kBm = "BM" + std::string(12, '\0');
// An icon directory of one image of the given directory size, the image's own header following.
std::string Ico(int side, const std::string& image) {
  return Little(0, 2) + Little(1, 2) + Little(1, 2) + Little(side, 1) + Little(side, 1) + std::string(6, '\0') +
         Little(image.size(), 4) + Little(22, 4) + image;
}

}  // namespace

TEST(PictureHeader, ClaimedSizesOfEveryKind) {
  const std::pair<std::optional<PictureSize>, PictureSize> cases[] = {
      // {0, 0}: nothing claimed
      {PngClaimedSize(Png(16384, 32)), {16384, 32}},
      {PngClaimedSize(kBm + Dib(1, 1)), {0, 0}},
      {BmpClaimedSize(kBm + Dib(24, -48)), {24, 48}},
      {BmpClaimedSize(kBm + Little(12, 4) + Little(40000, 2) + Little(3, 2) + Little(0x180001, 4)), {40000, 3}},
      {BmpClaimedSize(kBm + Dib(INT32_MIN, 1)), {2147483648u, 1}},
      {IcoClaimedSize(Ico(32, Dib(32, 64))), {32, 32}},
      {IcoClaimedSize(Ico(0, Png(16384, 16))), {16384, 256}},
      {IcoClaimedSize(Ico(16, Dib(16, 32)).substr(0, 21)), {0, 0}},
  };
  for (const auto& [claimed, size] : cases) {
    SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
    ASSERT_EQ(claimed.has_value(), size.width != 0);
    if (!claimed) continue;
    EXPECT_EQ(claimed->width, size.width);
    EXPECT_EQ(claimed->height, size.height);
    EXPECT_EQ(FitsSkin(*claimed), size.width <= 1024 && size.height <= 1024);
  }
}
