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
  return header + std::string(5, '\0');
}
std::string Dib(int32_t width, int32_t height) {
  return Little(40, 4) + Little(static_cast<uint32_t>(width), 4) + Little(static_cast<uint32_t>(height), 4);
}
// An icon directory of one image of the given directory size, the image's own header following.
std::string Ico(int side, const std::string& image) {
  return Little(0, 2) + Little(1, 2) + Little(1, 2) + Little(side, 1) + Little(side, 1) + std::string(6, '\0') +
         Little(static_cast<uint32_t>(image.size()), 4) + Little(22, 4) + image;
}

}  // namespace

TEST(PictureHeader, ClaimedSizesOfEveryKind) {
  struct Case {
    std::optional<PictureSize> claimed;
    uint32_t width, height;  // 0, 0: nothing claimed
  };
  const Case cases[] = {
      {PngClaimedSize(Png(64, 32)), 64, 32},
      {PngClaimedSize(Png(16384, 16384)), 16384, 16384},
      {PngClaimedSize(Png(64, 32).substr(0, 23)), 0, 0},
      {PngClaimedSize("BM" + std::string(30, '\0')), 0, 0},
      {BmpClaimedSize("BM" + std::string(12, '\0') + Dib(24, -48)), 24, 48},
      {BmpClaimedSize("BM" + std::string(12, '\0') + Little(12, 4) + Little(40000, 2) + Little(3, 2) + Little(0x180001, 4)), 40000, 3},
      {BmpClaimedSize("BM" + std::string(12, '\0') + Dib(INT32_MIN, 1)), 2147483648u, 1},
      {BmpClaimedSize("BM" + std::string(12, '\0') + Little(40, 4)), 0, 0},
      {IcoClaimedSize(Ico(32, Dib(32, 64))), 32, 32},
      {IcoClaimedSize(Ico(0, Png(16384, 16))), 16384, 256},
      {IcoClaimedSize(Ico(16, Dib(16, 32)).substr(0, 21)), 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    ASSERT_EQ(c.claimed.has_value(), c.width != 0);
    if (!c.claimed) continue;
    EXPECT_EQ(c.claimed->width, c.width);
    EXPECT_EQ(c.claimed->height, c.height);
    EXPECT_EQ(FitsSkin(*c.claimed), c.width <= 1024 && c.height <= 1024);
  }
}
