// Decoded pictures as the platform's decoders hand them over, made here as
// synthetic samples: Windows' RGB32 straight from the reader (bottom-up, a
// negative default stride), NV12 with padded rows and rows padded below the
// picture, and a buffer with a row pitch of its own. Wine's reader never
// gives RGB32, so these layouts meet the copy only here.
#include "player/engine/mf_picture_copy.h"

#include <gtest/gtest.h>
#include <mfapi.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/com.h"

using namespace lumorix;
using namespace lumorix::engine;

namespace {

constexpr int kWidth = 6, kHeight = 4;  // the top half red, the bottom half blue

struct Source {
  const char* what;
  PixelLayout layout;
  int bufferHeight;
  LONG stride;  // the default stride; negative: bottom-up
  bool twoD;    // a buffer that knows its own pitch
};

// The picture written into the sample's buffer as the layout says.
ComPtr<IMFSample> MakeSample(const Source& source, bool truncate) {
  LONG pitch = std::abs(source.stride);
  int chromaRows = source.layout == PixelLayout::kNv12 ? kHeight / 2 : 0;
  DWORD bytes = static_cast<DWORD>(pitch * (source.bufferHeight + chromaRows));
  ComPtr<IMFMediaBuffer> buffer;
  if (source.twoD) {
    if (FAILED(MFCreate2DMediaBuffer(kWidth, kHeight, MAKEFOURCC('N', 'V', '1', '2'), FALSE, &buffer))) return nullptr;
  } else if (FAILED(MFCreateMemoryBuffer(bytes, &buffer))) {
    return nullptr;
  }
  BYTE* data = nullptr;
  ComPtr<IMF2DBuffer> twoD;
  if (source.twoD) {
    if (FAILED(buffer.As(&twoD)) || FAILED(twoD->Lock2D(&data, &pitch))) return nullptr;
  } else if (FAILED(buffer->Lock(&data, nullptr, nullptr))) {
    return nullptr;
  }
  for (int y = 0; y < kHeight; ++y) {
    bool red = y < kHeight / 2;
    int memoryRow = source.stride < 0 ? source.bufferHeight - 1 - y : y;
    BYTE* row = data + pitch * memoryRow;
    for (int x = 0; x < kWidth; ++x) {
      if (source.layout == PixelLayout::kRgb32) {
        BYTE pixel[4] = {BYTE(red ? 0 : 255), 0, BYTE(red ? 255 : 0), 0};
        std::memcpy(row + x * 4, pixel, 4);
      } else {
        row[x] = red ? 81 : 41;
      }
    }
    if (source.layout == PixelLayout::kNv12 && y % 2 == 0) {
      BYTE* uv = data + pitch * source.bufferHeight + pitch * (y / 2);
      for (int x = 0; x < kWidth; x += 2) uv[x] = red ? 90 : 240, uv[x + 1] = red ? 240 : 110;
    }
  }
  if (twoD)
    (void)twoD->Unlock2D();
  else
    (void)buffer->Unlock();
  if (!source.twoD) (void)buffer->SetCurrentLength(truncate ? bytes / 2 : bytes);
  ComPtr<IMFSample> sample;
  if (FAILED(MFCreateSample(&sample)) || FAILED(sample->AddBuffer(buffer.Get()))) return nullptr;
  return sample;
}

class MfPictureCopy : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_HRESULT_SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_LITE)); }
  void TearDown() override { (void)MFShutdown(); }
};

}  // namespace

TEST_F(MfPictureCopy, DecodersLayoutsReachTheRendererUpright) {
  const Source sources[] = {
      {"RGB32 bottom-up, padded rows", PixelLayout::kRgb32, kHeight, -(kWidth * 4 + 8), false},
      {"RGB32 top-down", PixelLayout::kRgb32, kHeight, kWidth * 4, false},
      {"NV12 padded rows and rows below", PixelLayout::kNv12, kHeight + 4, 16, false},
      {"NV12 with its own pitch", PixelLayout::kNv12, kHeight, 1, true},  // the pitch the buffer reports wins
  };
  for (const Source& source : sources) {
    for (bool truncate : {false, true}) {
      if (truncate && source.twoD) continue;
      ComPtr<IMFSample> sample = MakeSample(source, truncate);
      ASSERT_TRUE(sample) << source.what;
      DecodedLayout decoded{source.layout, kWidth, kHeight, source.bufferHeight, source.stride};
      // Into a bottom-up RGB32 bitmap, as the legacy renderer takes it.
      std::vector<uint8_t> bitmap(kWidth * 4 * kHeight, 0xEE);
      PictureTarget out{PixelLayout::kRgb32, kWidth, kHeight, bitmap.data() + kWidth * 4 * (kHeight - 1),
                        -kWidth * 4, nullptr, 0};
      bool copied = CopySamplePicture(sample.Get(), decoded, 0, out);
      if (truncate) {
        EXPECT_FALSE(copied) << source.what << ": a buffer shorter than its picture";
        EXPECT_EQ(bitmap[0], 0xEE) << source.what;
        continue;
      }
      ASSERT_TRUE(copied) << source.what;
      // The bitmap's first row in memory is the picture's bottom: blue; its last the top: red.
      const uint8_t* bottom = bitmap.data();
      const uint8_t* top = bitmap.data() + kWidth * 4 * (kHeight - 1);
      for (int x : {0, kWidth - 1}) {
        EXPECT_GE(top[x * 4 + 2], 250) << source.what << ": red on top";
        EXPECT_LE(top[x * 4], 5) << source.what;
        EXPECT_GE(bottom[x * 4], 250) << source.what << ": blue below";
        EXPECT_LE(bottom[x * 4 + 2], 5) << source.what;
      }
    }
  }
}
