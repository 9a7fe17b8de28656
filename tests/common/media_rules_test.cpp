// Which render failures go to Media Foundation, and the decoded picture's
// conversion into the renderer's rows.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <cstdint>
#include <vector>

#include "common/matroska_length.h"
#include "common/mp4_rotation.h"
#include "common/picture_convert.h"
#include "common/render_fallback.h"
#include "common/yuv420_planes.h"

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

namespace {

// Four quadrants, red and green above blue and white, as Y U V (BT.601 studio
// range) and as blue green red.
constexpr std::array<std::array<uint8_t, 6>, 4> kQuadrants = {
    {{81, 90, 240, 0, 0, 255}, {145, 54, 34, 0, 255, 0}, {41, 240, 110, 255, 0, 0}, {235, 128, 128, 255, 255, 255}}};
constexpr uint8_t kUntouched = 0xEE;

// A picture whose rows are followed by padding, with a spare row after it.
struct TestPicture {
  std::vector<uint8_t> bytes;
  PictureTarget planes;
  TestPicture(PixelLayout layout, int width, int height, ptrdiff_t padding, bool bottomUp) {
    ptrdiff_t stride = RowBytes(layout, width) + padding;
    bytes.assign(static_cast<size_t>(ImageBytes(layout, stride, height) + stride), kUntouched);
    planes = {layout, width, height, bytes.data(), stride, bytes.data() + stride * height, stride};
    if (bottomUp) planes.rows += stride * (height - 1), planes.stride = -stride;
  }
};

// The bytes of pixel (x, y): its Y, U and V, or its blue, green and red.
std::array<uint8_t*, 3> PixelBytes(const PictureTarget& picture, int x, int y) {
  uint8_t* row = picture.rows + y * picture.stride;
  uint8_t* pair = row + (x / 2) * 4;
  if (picture.layout == PixelLayout::kRgb32) return {row + x * 4, row + x * 4 + 1, row + x * 4 + 2};
  if (picture.layout == PixelLayout::kYuy2) return {pair + (x & 1) * 2, pair + 1, pair + 3};
  uint8_t* uv = picture.chroma + (y / 2) * picture.chromaStride + (x & ~1);
  return {row + x, uv, uv + 1};
}

uint8_t Value(const PictureTarget& picture, int quadrant, int index) {
  return kQuadrants[quadrant][picture.layout == PixelLayout::kRgb32 ? index + 3 : index];
}

void Paint(const PictureTarget& picture) {
  // Backwards, so the chroma a pair or block shares is its first pixel's.
  for (int y = picture.height - 1; y >= 0; --y)
    for (int x = picture.width - 1; x >= 0; --x) {
      int quadrant = (y < picture.height / 2 ? 0 : 2) + (x < picture.width / 2 ? 0 : 1);
      for (int index = 0; index < 3; ++index) *PixelBytes(picture, x, y)[index] = Value(picture, quadrant, index);
    }
}

// The quadrant whose colour the pixel shows, -1 for none.
int ShownQuadrant(const PictureTarget& picture, int x, int y) {
  for (int quadrant = 0; quadrant < 4; ++quadrant) {
    bool same = true;
    for (int index = 0; index < 3; ++index)
      same = same && std::abs(*PixelBytes(picture, x, y)[index] - Value(picture, quadrant, index)) <= 6;
    if (same) return quadrant;
  }
  return -1;
}

// The corners show the quadrants `corners` and nothing is written past a row
// or the picture: the padding after each luma or packed row, and the spare
// row, keep their bytes.
void ExpectCornersWithinRows(const TestPicture& out, const std::array<int, 4>& corners, const std::string& what) {
  const PictureTarget& p = out.planes;
  const std::pair<int, int> points[4] = {{0, 0}, {p.width - 1, 0}, {0, p.height - 1}, {p.width - 1, p.height - 1}};
  for (int corner = 0; corner < 4; ++corner)
    EXPECT_EQ(ShownQuadrant(p, points[corner].first, points[corner].second), corners[corner])
        << what << ", corner " << corner;
  ptrdiff_t stride = std::abs(p.stride), used = RowBytes(p.layout, p.width);
  for (size_t index = 0; index < out.bytes.size(); ++index) {
    if ((index % stride >= static_cast<size_t>(used) && index < static_cast<size_t>(stride * p.height)) ||
        index >= out.bytes.size() - stride) {
      ASSERT_EQ(out.bytes[index], kUntouched) << what << ", byte " << index;
    }
  }
}

}  // namespace

// Every layout into every layout it can become, turned 0 to 3 times, even and
// odd sizes, padded rows, RGB either way up: the corners show the right
// colours and nothing is written past a row or the picture.
TEST(PictureConvert, EveryLayoutTurnsIntoEveryTargetWithinItsRows) {
  const PixelLayout layouts[] = {PixelLayout::kNv12, PixelLayout::kYuy2, PixelLayout::kRgb32};
  // The source's corner shown at the top left, top right, bottom left and bottom right, per quarter turn.
  const std::array<int, 4> corners[4] = {{{0, 1, 2, 3}}, {{2, 0, 3, 1}}, {{3, 2, 1, 0}}, {{1, 3, 0, 2}}};
  for (auto [width, height] : {std::pair{8, 4}, std::pair{7, 5}})
    for (PixelLayout from : layouts)
      for (PixelLayout to : layouts)
        for (int turns = 0; turns < 4 && CanConvert(from, to); ++turns) {
          TestPicture in(from, width, height, 8, from == PixelLayout::kRgb32 && turns % 2 == 1);
          Paint(in.planes);
          int outWidth = turns % 2 ? height : width, outHeight = turns % 2 ? width : height;
          TestPicture out(to, outWidth, outHeight, 4, to == PixelLayout::kRgb32);
          const auto& i = in.planes;
          ConvertPicture({from, width, height, i.rows, i.stride, i.chroma, i.chromaStride}, turns, out.planes);
          ExpectCornersWithinRows(out, corners[turns],
                                  std::to_string(int(from)) + " to " + std::to_string(int(to)) + ", " +
                                      std::to_string(turns) + " turns, " + std::to_string(width) + " wide");
        }
}

// Shrunk while converted to RGB, with chroma interleaved or in planes: the
// quadrants stay in their corners, stripes
// of black and white become grey, and nothing is written past a row.
TEST(PictureConvert, Yuv420ShrunkToRgbAveragesWhatEachPixelCovers) {
  struct Case {
    int width, height, outWidth, outHeight;
  };
  for (const Case& c : {Case{16, 8, 8, 4}, Case{20, 12, 7, 5}, Case{18, 10, 17, 9}, Case{60, 34, 32, 18}}) {
    TestPicture in(PixelLayout::kNv12, c.width, c.height, 8, false);
    Paint(in.planes);
    TestPicture out(PixelLayout::kRgb32, c.outWidth, c.outHeight, 4, true);
    const auto& i = in.planes;
    ConvertPicture({PixelLayout::kNv12, c.width, c.height, i.rows, i.stride, i.chroma, i.chromaStride}, 0, out.planes);
    ExpectCornersWithinRows(out, {0, 1, 2, 3}, std::to_string(c.width) + " to " + std::to_string(c.outWidth));

    // The same picture in every 4:2:0 buffer layout a decoder hands out.
    for (Yuv420Order order : {Yuv420Order::kNv12, Yuv420Order::kI420, Yuv420Order::kYv12}) {
      std::vector<uint8_t> buffer(static_cast<size_t>(c.width + 4) * (c.height + 1) * 2);
      size_t bytes = 0;
      Yuv420View view = Yuv420Planes(order, buffer.data(), c.width, c.height, &bytes);
      ASSERT_LE(bytes, buffer.size());
      auto at = [&](const uint8_t* plane, ptrdiff_t offset) {
        return buffer.data() + (plane - buffer.data()) + offset;
      };
      for (int y = 0; y < c.height; ++y)
        std::copy_n(i.rows + y * i.stride, c.width, at(view.luma, y * view.lumaStride));
      for (int y = 0; y < (c.height + 1) / 2; ++y)
        for (int x = 0; x < (c.width + 1) / 2; ++x) {
          ptrdiff_t offset = y * view.chromaStride + x * view.chromaStep;
          *at(view.u, offset) = i.chroma[y * i.chromaStride + 2 * x];
          *at(view.v, offset) = i.chroma[y * i.chromaStride + 2 * x + 1];
        }
      // What the planes span is what a sample must hold.
      ptrdiff_t lastChroma = std::max(view.u, view.v) - buffer.data() + ((c.height + 1) / 2 - 1) * view.chromaStride +
                             ((c.width + 1) / 2 - 1) * view.chromaStep;
      EXPECT_LT(lastChroma, static_cast<ptrdiff_t>(bytes));
      TestPicture shrunk(PixelLayout::kRgb32, c.outWidth, c.outHeight, 4, true);
      ShrinkYuv420ToRgb32(view, shrunk.planes);
      ExpectCornersWithinRows(shrunk, {0, 1, 2, 3},
                              "order " + std::to_string(int(order)) + ", " + std::to_string(c.width));
    }
  }

  TestPicture stripes(PixelLayout::kNv12, 8, 8, 0, false);
  for (int y = 0; y < 8; ++y) std::fill_n(stripes.planes.rows + y * 8, 8, y % 2 ? 235 : 16);
  std::fill_n(stripes.planes.chroma, 8 * 4, 128);
  TestPicture grey(PixelLayout::kRgb32, 4, 4, 0, false);
  const auto& s = stripes.planes;
  ConvertPicture({PixelLayout::kNv12, 8, 8, s.rows, s.stride, s.chroma, s.chromaStride}, 0, grey.planes);
  for (int index = 0; index < 4 * 4 * 4; index += 4)
    for (int channel = 0; channel < 3; ++channel) EXPECT_NEAR(grey.bytes[index + channel], 128, 2) << "byte " << index;
}

namespace {

std::string Box(const char* type, const std::string& payload) {
  uint32_t size = static_cast<uint32_t>(payload.size() + 8);
  std::string box{char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
  return box + type + payload;
}

std::string Word(int32_t value) {
  auto bits = static_cast<uint32_t>(value);
  return {char(bits >> 24), char(bits >> 16), char(bits >> 8), char(bits)};
}

// A track: its header (version 0 or 1) with the matrix a, b, c, d, and its handler.
std::string Track(const char* handler, int version, int32_t a, int32_t b, int32_t c, int32_t d) {
  std::string header = Word(version << 24) + std::string(version == 1 ? 32 : 20, '\0') + std::string(16, '\0') +
                       Word(a) + Word(b) + Word(0) + Word(c) + Word(d) + Word(0) + Word(0) + Word(0) +
                       Word(0x40000000) + Word(160 << 16) + Word(120 << 16);
  std::string media = Box("mdia", Box("hdlr", Word(0) + Word(0) + handler + std::string(12, '\0')));
  return Box("trak", Box("tkhd", header) + media);
}

ReadAt ReaderOf(const std::string& file) {
  return [&file](uint64_t offset, void* buffer, size_t size) {
    if (offset > file.size() || size > file.size() - offset) return false;
    std::memcpy(buffer, file.data() + offset, size);
    return true;
  };
}

// Whether a video track was found, and its turns (-1 without one).
int TurnsOf(const std::string& file) {
  Mp4VideoTrack track = FindMp4VideoTrack(ReaderOf(file), file.size());
  return track.present ? track.quarterTurns : -1;
}

constexpr int32_t kOne = 0x10000;

}  // namespace

// The first video track and its matrix, whatever the box layout; a damaged or
// foreign file has no track the reader would vouch for.
TEST(Mp4VideoTrack, FirstVideoTrackAndItsQuarterTurns) {
  const std::string type = Box("ftyp", "isom" + Word(0x200) + "isomavc1");
  const std::string sound = Track("soun", 0, 0, kOne, -kOne, 0);
  const std::string mdat = Box("mdat", std::string(64, 'x'));
  auto movie = [&](const std::string& tracks) { return Box("moov", Box("mvhd", std::string(100, '\0')) + tracks); };
  std::string large = movie(Track("vide", 0, 0, kOne, -kOne, 0));
  large = std::string{0, 0, 0, 1} + large.substr(4, 4) + Word(0) + Word(int32_t(large.size() + 8)) + large.substr(8);
  std::string truncated = type + movie(Track("vide", 0, 0, kOne, -kOne, 0));
  truncated.resize(truncated.size() - 20);
  std::string oversized = type + movie(Track("vide", 0, 0, kOne, -kOne, 0));
  oversized[type.size() + 3] = char(0xFF);  // the movie box claims more than the file has
  const struct {
    const char* what;
    std::string file;
    int turns;
  } cases[] = {
      {"upright", type + movie(Track("vide", 0, kOne, 0, 0, kOne)) + mdat, 0},
      {"a quarter clockwise, after the sound track", type + mdat + movie(sound + Track("vide", 0, 0, kOne, -kOne, 0)),
       1},
      {"half a turn, 64-bit header", type + movie(Track("vide", 1, -kOne, 0, 0, -kOne)), 2},
      {"a quarter anticlockwise", type + movie(Track("vide", 0, 0, -kOne, kOne, 0)), 3},
      {"scaled quarter", type + movie(Track("vide", 0, 0, 2 * kOne, -2 * kOne, 0)), 1},
      {"mirrored", type + movie(Track("vide", 0, -kOne, 0, 0, kOne)), 0},
      {"free angle", type + movie(Track("vide", 0, 46341, 46341, -46341, 46341)), 0},
      {"sound only", type + movie(sound), -1},
      {"64-bit box size", type + large, 1},
      {"box to the end of the file",
       type + std::string{0, 0, 0, 0} + movie(Track("vide", 0, 0, kOne, -kOne, 0)).substr(4), 1},
      {"truncated", truncated, -1},
      {"box larger than the file", oversized, -1},
      {"box smaller than its header", type + std::string{0, 0, 0, 4} + "moov", -1},
      {"Matroska", std::string("\x1A\x45\xDF\xA3\x9F\x42\x86\x81\x01", 9) + std::string(40, '\0'), -1},
      {"empty", "", -1},
  };
  for (const auto& test : cases) EXPECT_EQ(TurnsOf(test.file), test.turns) << test.what;
}

namespace {

// An EBML element: its ID as written, a one-byte size (or the eight-byte
// "unknown" a live stream writes), and the payload.
std::string Ebml(const std::string& id, const std::string& payload, bool unknownSize = false) {
  if (unknownSize) return id + std::string("\x01\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8) + payload;
  return id + std::string(1, char(0x80 | payload.size())) + payload;
}

const std::string kHeader = Ebml("\x1A\x45\xDF\xA3", Ebml("\x42\x82", "webm"));
const std::string kSegment = "\x18\x53\x80\x67";
const std::string kInfo = "\x15\x49\xA9\x66";
const std::string kCluster = Ebml("\x1F\x43\xB6\x75", std::string(20, 'x'));
const std::string kScale = Ebml("\x2A\xD7\xB1", std::string("\x0F\x42\x40", 3));
const std::string kVoid = Ebml("\xEC", std::string(6, '\0'));

std::string Duration(const std::string& bytes) { return Ebml("\x44\x89", bytes); }

}  // namespace

// What a recorder writes (a live segment, no Duration) against a finished
// file; a layout the reader cannot follow leaves the source's word standing.
TEST(MatroskaLength, DurationInTheSegmentInfo) {
  const std::string seconds4 = std::string("\x40\xAF\x40\x00\x00\x00\x00\x00", 8);  // 4000.0
  const std::string single4 = std::string("\x45\x7A\x00\x00", 4);                   // 4000.0f
  std::string truncated = kHeader + Ebml(kSegment, Ebml(kInfo, kScale + Duration(seconds4)));
  truncated.resize(truncated.size() - 3);
  const struct {
    const char* what;
    std::string file;
    StatedLength stated;
  } cases[] = {
      {"live stream", kHeader + Ebml(kSegment, Ebml(kInfo, kScale) + kCluster, true), StatedLength::kNotStated},
      {"finished file", kHeader + Ebml(kSegment, Ebml(kInfo, kScale + Duration(seconds4)) + kCluster),
       StatedLength::kStated},
      {"single precision", kHeader + Ebml(kSegment, Ebml(kInfo, Duration(single4)), true), StatedLength::kStated},
      {"padding first", kHeader + kVoid + Ebml(kSegment, kVoid + Ebml(kInfo, kScale + Duration(seconds4)), true),
       StatedLength::kStated},
      {"media before the info", kHeader + Ebml(kSegment, kCluster + Ebml(kInfo, kScale), true), StatedLength::kUnknown},
      {"info of unknown size", kHeader + Ebml(kSegment, Ebml(kInfo, kScale, true), true), StatedLength::kUnknown},
      {"three-byte float", kHeader + Ebml(kSegment, Ebml(kInfo, Duration("abc"))), StatedLength::kUnknown},
      {"truncated", truncated, StatedLength::kUnknown},
      {"MP4", std::string(4, '\0') + "ftypisom" + std::string(8, '\0'), StatedLength::kUnknown},
  };
  for (const auto& test : cases)
    EXPECT_EQ(MatroskaStatedLength(ReaderOf(test.file), test.file.size()), test.stated) << test.what;
}
