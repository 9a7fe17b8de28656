// Decoded pictures as the platform's decoders hand them over, made here as
// synthetic samples: Windows' RGB32 straight from the reader (bottom-up, a
// negative default stride, padded rows), NV12 with rows padded below the
// picture, and a buffer with a row pitch of its own. Wine's reader never
// gives RGB32, so these layouts meet the copy only here.
#include "player/engine/mf/mf_picture_copy.h"

#include <gtest/gtest.h>
#include <mfapi.h>

#include <cstdlib>
#include <vector>

#include "platform/com.h"

using namespace lumorix;
using namespace lumorix::engine;

namespace {

constexpr int kWidth = 6, kHeight = 4;  // the top half red, the bottom half blue

// A sample whose buffer holds the picture as `decoded` describes it; half its length when `truncated`.
ComPtr<IMFSample> MakeSample(const DecodedLayout& decoded, bool twoD, bool truncated) {
  LONG pitch = std::abs(decoded.defaultStride);
  bool nv12 = decoded.layout == PixelLayout::kNv12;
  DWORD bytes = static_cast<DWORD>(pitch * (decoded.bufferHeight + (nv12 ? kHeight / 2 : 0)));
  ComPtr<IMFMediaBuffer> buffer;
  ComPtr<IMF2DBuffer> planes;
  BYTE* data = nullptr;
  if (twoD ? FAILED(MFCreate2DMediaBuffer(kWidth, kHeight, MAKEFOURCC('N', 'V', '1', '2'), FALSE, &buffer)) ||
                 FAILED(buffer.As(&planes)) || FAILED(planes->Lock2D(&data, &pitch))
           : FAILED(MFCreateMemoryBuffer(bytes, &buffer)) || FAILED(buffer->Lock(&data, nullptr, nullptr)))
    return nullptr;
  for (int y = 0; y < kHeight; ++y) {
    bool red = y < kHeight / 2;
    BYTE* row = data + pitch * (decoded.defaultStride < 0 ? decoded.bufferHeight - 1 - y : y);
    BYTE* uv = data + pitch * (decoded.bufferHeight + y / 2);
    for (int x = 0; x < kWidth; ++x) {
      if (!nv12) row[x * 4] = red ? 0 : 255, row[x * 4 + 1] = 0, row[x * 4 + 2] = red ? 255 : 0;
      if (nv12) row[x] = red ? 81 : 41, uv[x] = (x % 2 == 0) == red ? (red ? 90 : 110) : 240;
    }
  }
  (void)(twoD ? planes->Unlock2D() : buffer->Unlock());
  if (!twoD) (void)buffer->SetCurrentLength(truncated ? bytes / 2 : bytes);
  ComPtr<IMFSample> sample;
  if (FAILED(MFCreateSample(&sample)) || FAILED(sample->AddBuffer(buffer.Get()))) return nullptr;
  return sample;
}

}  // namespace

TEST(MfPictureCopy, DecodersLayoutsReachTheRendererUpright) {
  ASSERT_HRESULT_SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_LITE));
  const struct {
    const char* what;
    DecodedLayout decoded;
    bool twoD;
  } sources[] = {
      {"RGB32 bottom-up, padded rows", {PixelLayout::kRgb32, kWidth, kHeight, kHeight, -(kWidth * 4 + 8)}, false},
      {"NV12 with rows below the picture", {PixelLayout::kNv12, kWidth, kHeight, kHeight + 4, 16}, false},
      {"NV12 with its own pitch", {PixelLayout::kNv12, kWidth, kHeight, kHeight, 1}, true},  // the buffer's pitch wins
  };
  for (const auto& source : sources)
    for (bool truncated : {false, true}) {
      if (truncated && source.twoD) continue;
      ComPtr<IMFSample> sample = MakeSample(source.decoded, source.twoD, truncated);
      ASSERT_TRUE(sample) << source.what;
      // Into a bottom-up RGB32 bitmap, as the legacy renderer takes it.
      std::vector<uint8_t> bitmap(kWidth * 4 * kHeight, 0xEE);
      uint8_t* top = bitmap.data() + kWidth * 4 * (kHeight - 1);
      PictureTarget out{PixelLayout::kRgb32, kWidth, kHeight, top, -kWidth * 4, nullptr, 0};
      bool copied = CopySamplePicture(sample.Get(), source.decoded, 0, out);
      EXPECT_EQ(copied, !truncated) << source.what;
      if (truncated) {
        EXPECT_EQ(bitmap[0], 0xEE) << source.what << ": a buffer shorter than its picture is not read";
        continue;
      }
      for (int x : {0, kWidth - 1}) {
        EXPECT_TRUE(top[x * 4 + 2] >= 250 && top[x * 4] <= 5) << source.what << ": red on top";
        EXPECT_TRUE(bitmap[x * 4] >= 250 && bitmap[x * 4 + 2] <= 5) << source.what << ": blue below";
      }
    }
  (void)MFShutdown();
}
