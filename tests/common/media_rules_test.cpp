// Which render failures go to Media Foundation, and the decoded picture's
// conversion into the renderer's rows.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "common/picture_convert.h"
#include "common/render_fallback.h"

using namespace lumorix;

namespace {
constexpr int32_t Hr(uint32_t code) { return static_cast<int32_t>(code); }
}  // namespace

TEST(RenderFallback, FailuresToReadOrDecodeGoToMediaFoundation) {
  for (uint32_t code : {0x80040265u, 0x80040218u, 0x80040240u, 0x80040217u, 0x8004022Fu, 0x80040241u, 0x80040207u,
                        0x8004022Au, 0x80040206u})
    EXPECT_EQ(RenderFallbackFor(Hr(code)), FallbackNeed::kAnyStream) << std::hex << code;
}

TEST(RenderFallback, FailuresAboutTheFileItselfKeepTheGraphsAnswer) {
  EXPECT_EQ(RenderFallbackFor(Hr(0x80070002)), FallbackNeed::kNone);  // file not found
  EXPECT_EQ(RenderFallbackFor(Hr(0x80070003)), FallbackNeed::kNone);  // path not found
  EXPECT_EQ(RenderFallbackFor(Hr(0x80070005)), FallbackNeed::kNone);  // access denied
  EXPECT_EQ(RenderFallbackFor(Hr(0x80040216)), FallbackNeed::kNone);  // VFW_E_NOT_FOUND
  EXPECT_EQ(RenderFallbackFor(Hr(0x8007000E)), FallbackNeed::kNone);  // out of memory
  EXPECT_EQ(RenderFallbackFor(0), FallbackNeed::kNone);
  EXPECT_EQ(RenderFallbackFor(1), FallbackNeed::kNone);
}

TEST(RenderFallback, PartialRendersNeedWhatWasLeftOut) {
  EXPECT_EQ(RenderFallbackFor(Hr(0x00040257)), FallbackNeed::kVideo);
  EXPECT_EQ(RenderFallbackFor(Hr(0x00040258)), FallbackNeed::kAudio);
  EXPECT_EQ(RenderFallbackFor(Hr(0x00040242)), FallbackNeed::kBoth);
}

TEST(RenderFallback, SourceMeetsTheNeedOnlyWithTheMissingStreams) {
  EXPECT_TRUE(MeetsNeed(FallbackNeed::kAnyStream, false, true));
  EXPECT_TRUE(MeetsNeed(FallbackNeed::kAnyStream, true, false));
  EXPECT_FALSE(MeetsNeed(FallbackNeed::kAnyStream, false, false));
  EXPECT_TRUE(MeetsNeed(FallbackNeed::kVideo, true, false));
  EXPECT_FALSE(MeetsNeed(FallbackNeed::kVideo, false, true));
  EXPECT_TRUE(MeetsNeed(FallbackNeed::kAudio, false, true));
  EXPECT_FALSE(MeetsNeed(FallbackNeed::kAudio, true, false));
  EXPECT_FALSE(MeetsNeed(FallbackNeed::kBoth, true, false));
  EXPECT_TRUE(MeetsNeed(FallbackNeed::kBoth, true, true));
  EXPECT_FALSE(MeetsNeed(FallbackNeed::kNone, true, true));
}

// A 4 x 2 NV12 picture: left half pure red, right half pure blue, as encoders write them.
TEST(PictureConvert, Nv12StudioRangeBecomesFullRangeRgb) {
  const std::array<uint8_t, 8> luma = {81, 81, 41, 41, 81, 81, 41, 41};
  const std::array<uint8_t, 4> chroma = {90, 240, 240, 110};
  std::vector<uint8_t> out(4 * 2 * 4, 0xEE);
  Nv12ToRgb32(luma.data(), 4, chroma.data(), 4, 4, 2, out.data(), 16);
  for (int row = 0; row < 2; ++row) {
    const uint8_t* pixel = out.data() + row * 16;
    EXPECT_GE(pixel[2], 250) << "red";
    EXPECT_LE(pixel[1], 5);
    EXPECT_LE(pixel[0], 5);
    EXPECT_EQ(pixel[3], 0);
    EXPECT_GE(pixel[8], 250) << "blue";
    EXPECT_LE(pixel[9], 5);
    EXPECT_LE(pixel[10], 5);
  }
}

TEST(PictureConvert, BlackAndWhiteStayGreyWithoutTint) {
  const std::array<uint8_t, 4> luma = {16, 235, 16, 235};
  const std::array<uint8_t, 2> chroma = {128, 128};
  std::vector<uint8_t> out(16);
  Nv12ToRgb32(luma.data(), 2, chroma.data(), 2, 2, 2, out.data(), 8);
  EXPECT_EQ((std::array<uint8_t, 4>{out[0], out[1], out[2], out[3]}), (std::array<uint8_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ((std::array<uint8_t, 4>{out[4], out[5], out[6], out[7]}), (std::array<uint8_t, 4>{255, 255, 255, 0}));
}

TEST(PictureConvert, NegativeStrideWritesTheRowsBottomUp) {
  // Two rows: the top one black, the bottom one white, written into a bottom-up bitmap.
  const std::array<uint8_t, 4> luma = {16, 16, 235, 235};
  const std::array<uint8_t, 2> chroma = {128, 128};
  std::vector<uint8_t> out(16);
  Nv12ToRgb32(luma.data(), 2, chroma.data(), 2, 2, 2, out.data() + 8, -8);
  EXPECT_EQ(out[0], 255) << "the first row in memory is the picture's bottom";
  EXPECT_EQ(out[8], 0);
}

TEST(PictureConvert, PaddedSourceRowsAreCroppedToTheWidth) {
  const std::array<uint8_t, 8> in = {1, 2, 3, 4, 9, 9, 9, 9};  // one pixel, then padding
  std::vector<uint8_t> out(8, 0);
  CopyRgb32(in.data(), 8, 1, 1, out.data(), 4);
  EXPECT_EQ((std::vector<uint8_t>(out.begin(), out.begin() + 4)), (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(out[4], 0);
  std::vector<uint8_t> flipped(8, 0);
  const std::array<uint8_t, 8> rows = {1, 1, 1, 1, 2, 2, 2, 2};
  CopyRgb32(rows.data(), 4, 1, 2, flipped.data() + 4, -4);
  EXPECT_EQ(flipped[0], 2);
  EXPECT_EQ(flipped[4], 1);
}
