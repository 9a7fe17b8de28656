// The renderer a video window draws through, against Wine's real filters:
// the enhanced renderer chosen and drawing the clip (read back from the
// screen), the legacy one when the enhanced one is refused, and the colour
// controls on the enhanced renderer's mixer.
#include <gtest/gtest.h>

#include <d3d9.h>
#include <dxva2api.h>
#include <mfapi.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include "player/engine/graph/filter_graph.h"
#include "player/engine/mf/mf_decoding_device.h"
#include "player/engine/filters/pin_walk.h"
#include "player/engine/render/renderer_fallback.h"
#include "player/engine/render/renderer_choice.h"
#include "player/engine/video/video_window.h"
#include "platform/wine_host.h"
#include "tests/support/gui_test.h"
#include "tests/support/legacy_renderer_only.h"
#include "tests/support/media.h"
#include "tests/support/screen_capture.h"
#include "tests/support/test_form.h"

using namespace lumorix;
using namespace lumorix::engine;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

struct Completions : IFilterGraphListener {
  void GraphEvent(long code, LONG_PTR, LONG_PTR) override { count += code == EC_COMPLETE; }
  void ControlEvent(TGraphNotice, int) override {}
  int count = 0;
};

class RendererTest : public ::testing::Test {
 protected:
  void TearDown() override {
    (void)graph.Stop();
    graph.SetActive(false);
    video.SetFilterGraph(nullptr);
  }
  // Plays `name` in a 400 x 200 control; the red clip's 4:3 picture is letter-boxed to 267 x 200.
  void Play(const char* name = "red-long.avi") {
    form.Show();
    video.SetFilterGraph(&graph);
    graph.SetActive(true);
    ASSERT_EQ(graph.RenderFile(Clip(name)), S_OK);
    ASSERT_TRUE(graph.Play());
  }
  POINT OnScreen(int x, int y) {
    POINT point{x, y};
    ClientToScreen(video.Handle(), &point);
    return point;
  }
  // The centre red and the bar at the left black, as the screen shows them.
  bool DrawsLetterBoxedRed() {
    ScreenShot shot;
    POINT centre = OnScreen(200, 100), bar = OnScreen(20, 100);
    return Near(shot.Pixel(centre.x, centre.y), kRed) && Near(shot.Pixel(bar.x, bar.y), kBlack, 16);
  }

  // The large clip letter-boxed to 356 x 200 in the 400 x 200 control.
  bool DrawsRedLeftOfBlue() {
    ScreenShot shot;
    POINT red = OnScreen(110, 100), blue = OnScreen(290, 100);
    return Near(shot.Pixel(red.x, red.y), kRed) && Near(shot.Pixel(blue.x, blue.y), RGB(0, 0, 255));
  }

  TestForm form{L"Renderer", 420, 220};
  TFilterGraph graph;
  TDSVideoWindowEx2 video{form.Handle(), {0, 0, 400, 200}, L"DSVideoWindowEx2"};
};

}  // namespace

// Wine 8.0's enhanced renderer faults when its input is disconnected and, in
// x64 programs, on every bottom-up picture, so the player takes the legacy one
// there; this case needs Windows' renderer.
#define SKIP_WITHOUT_WINDOWS_ENHANCED_RENDERER() \
  if (platform::RunningOnWine()) GTEST_SKIP() << "Wine's enhanced renderer faults"

TEST_F(RendererTest, EnhancedRendererIsChosenAndDrawsIntoTheWindow) {
  SKIP_WITHOUT_WINDOWS_ENHANCED_RENDERER();
  Play();
  ASSERT_TRUE(video.Renderer());
  EXPECT_EQ(video.Renderer()->Kind(), RendererKind::kEnhanced);
  EXPECT_TRUE(video.Renderer()->Connected());
  EXPECT_FALSE(video.OverlayActive());
  bool drawn = PumpUntil([&] { return DrawsLetterBoxedRed(); }, milliseconds(5000));
  if (!drawn) ScreenShot().Save("enhanced-renderer");
  EXPECT_TRUE(drawn);
  // Moved and resized: the picture follows the control.
  video.SetBounds({0, 0, 200, 200});
  EXPECT_TRUE(PumpUntil(
      [&] {
        ScreenShot shot;
        POINT centre = OnScreen(100, 100), below = OnScreen(100, 10);
        return Near(shot.Pixel(centre.x, centre.y), kRed) && Near(shot.Pixel(below.x, below.y), kBlack, 16);
      },
      milliseconds(5000)));
}

TEST_F(RendererTest, RefusedEnhancedRendererFallsBackToTheLegacyOne) {
  LegacyRendererOnly legacy;  // as where the system has no enhanced renderer
  Play();
  ASSERT_TRUE(video.Renderer());
  EXPECT_EQ(video.Renderer()->Kind(), RendererKind::kLegacy);
  EXPECT_TRUE(video.Renderer()->Connected());
  ComPtr<IBaseFilter> shrinker;
  EXPECT_HRESULT_FAILED(graph.Query<IFilterGraph>()->FindFilterByName(L"Picture Shrinker", &shrinker))
      << "a picture that fits the screens goes as it is";
  bool drawn = PumpUntil([&] { return DrawsLetterBoxedRed(); }, milliseconds(5000));
  if (!drawn) ScreenShot().Save("legacy-renderer-fallback");
  EXPECT_TRUE(drawn);
}

// 64 x 480 rows of red and green in turn, shrunk to 27 x 200: every screen
// row must be one of the two. Wine's renderer drew in GDI's default mode,
// which ANDs the rows it merges into black.
TEST_F(RendererTest, AShrunkPictureKeepsItsColoursInsteadOfMergingRowsIntoBlack) {
  LegacyRendererOnly legacy;
  Play("stripes.avi");
  int black = 0, coloured = 0;
  bool drawn = PumpUntil(
      [&] {
        ScreenShot shot;
        black = coloured = 0;
        for (int y = 10; y < 190; ++y) {
          POINT at = OnScreen(200, y);
          COLORREF pixel = shot.Pixel(at.x, at.y);
          black += Near(pixel, kBlack, 16);
          coloured += Near(pixel, kRed) || Near(pixel, RGB(0, 255, 0));
        }
        return coloured == 180;
      },
      milliseconds(5000));
  if (!drawn) ScreenShot().Save("shrunk-stripes");
  EXPECT_TRUE(drawn) << black << " black rows, " << coloured << " red or green of 180";
}

// 1280 x 720, red left of blue, on the 1024 x 768 screen: the legacy renderer
// is handed the decoder's YUV shrunk to 1024 x 576 RGB, and seeking passes
// through to the decoder.
TEST_F(RendererTest, APictureLargerThanTheScreensReachesTheLegacyRendererShrunk) {
  LegacyRendererOnly legacy;
  Play("red-blue-large.mp4");
  auto filters = graph.Query<IFilterGraph>();
  ComPtr<IBaseFilter> shrinker;
  ASSERT_HRESULT_SUCCEEDED(filters->FindFilterByName(L"Picture Shrinker", &shrinker));
  long width = 0, height = 0;
  ASSERT_HRESULT_SUCCEEDED(graph.Query<IBasicVideo>()->GetVideoSize(&width, &height));
  EXPECT_EQ(width, 1024);
  EXPECT_EQ(height, 576);
  bool drawn = PumpUntil([&] { return DrawsRedLeftOfBlue(); }, milliseconds(5000));
  if (!drawn) ScreenShot().Save("shrunk-large");
  EXPECT_TRUE(drawn);

  // A seek while playing flushes through the shrinker, and the picture goes on from there.
  auto seeking = graph.Query<IMediaSeeking>();
  LONGLONG to = 100000000;
  ASSERT_HRESULT_SUCCEEDED(seeking->SetPositions(&to, AM_SEEKING_AbsolutePositioning, nullptr, 0));
  LONGLONG now = 0;
  EXPECT_TRUE(
      PumpUntil([&] { return SUCCEEDED(seeking->GetCurrentPosition(&now)) && now > 105000000; }, milliseconds(5000)))
      << now;

  // Seeking reaches the decoder, and the end of the stream the graph: the player moves on with it.
  EXPECT_NEAR(graph.Duration(), 30000, 200);
  Completions completions;
  graph.AddListener(&completions);
  ASSERT_HRESULT_SUCCEEDED(graph.Seek(290000000));
  ASSERT_HRESULT_SUCCEEDED(seeking->GetCurrentPosition(&now));
  EXPECT_NEAR(static_cast<double>(now), 290000000.0, 10000000.0);
  EXPECT_TRUE(PumpUntil([&] { return completions.count > 0; }, milliseconds(5000)));
  graph.RemoveListener(&completions);

  // The next clip gets a shrinker of its own; the last one left with its clip.
  graph.ClearGraph();
  ASSERT_EQ(graph.RenderFile(Clip("red-blue-large.mp4")), S_OK);
  int shrinkers = 0;
  for (const auto& filter : FiltersOf(filters.Get())) {
    FILTER_INFO info{};
    if (SUCCEEDED(filter->QueryFilterInfo(&info))) {
      shrinkers += std::wstring(info.achName) == L"Picture Shrinker";
      if (info.pGraph) info.pGraph->Release();
    }
  }
  EXPECT_EQ(shrinkers, 1);
  ASSERT_TRUE(graph.Play());
  EXPECT_TRUE(PumpUntil([&] { return DrawsRedLeftOfBlue(); }, milliseconds(5000)));
}

// What the window does when its enhanced renderer was left unconnected: the
// picture the graph gave to a renderer of its own choosing is taken back.
TEST(RendererFallback, ThePictureTheGraphRenderedItselfIsTakenBackAndSoundIsLeftAlone) {
  TFilterGraph graph;
  graph.SetActive(true);
  auto filters = graph.Query<IFilterGraph>();
  ASSERT_EQ(graph.RenderFile(Clip("tone.avi")), S_OK);  // picture and sound, to renderers the graph chose
  size_t before = FiltersOf(filters.Get()).size();
  ComPtr<IPin> picture = TakeUnrenderedPicture(filters.Get(), nullptr);
  ASSERT_TRUE(picture);
  EXPECT_FALSE(IsConnected(picture.Get()));
  EXPECT_EQ(FiltersOf(filters.Get()).size(), before - 1) << "only the graph's video renderer went";

  // Wine's splitter frees its output pins when its input is disconnected,
  // whoever still holds them: let go of the pin before the graph is cleared.
  picture.Reset();
  graph.ClearGraph();
  ASSERT_EQ(graph.RenderFile(Clip("sound.avi")), S_OK);
  EXPECT_FALSE(TakeUnrenderedPicture(filters.Get(), nullptr)) << "no picture: nothing to take";
  graph.SetActive(false);
}

TEST(DecodingDevice, ReadersGetTheRenderersDeviceOnlyWhileItIsInScope) {
  ComPtr<IMFAttributes> attributes;
  ASSERT_HRESULT_SUCCEEDED(MFCreateAttributes(&attributes, 2));
  AddDecodingDevice(attributes.Get());
  UINT32 count = 0;
  ASSERT_HRESULT_SUCCEEDED(attributes->GetCount(&count));
  EXPECT_EQ(count, 0u) << "no device: software decoding, nothing added";

  // Decoding on the graphics card cannot be shown under Wine; a device manager of its own stands in.
  UINT token = 0;
  ComPtr<IDirect3DDeviceManager9> manager;
  ASSERT_HRESULT_SUCCEEDED(DXVA2CreateDirect3DDeviceManager9(&token, &manager));
  {
    DecodingDeviceScope scope(ComPtr<IUnknown>(manager.Get()));
    AddDecodingDevice(attributes.Get());
  }
  ComPtr<IUnknown> given;
  ASSERT_HRESULT_SUCCEEDED(attributes->GetUnknown(MF_SOURCE_READER_D3D_MANAGER, IID_PPV_ARGS(&given)));
  EXPECT_EQ(given.Get(), ComPtr<IUnknown>(manager.Get()).Get());
  EXPECT_EQ(MFGetAttributeUINT32(attributes.Get(), MF_READWRITE_ENABLE_HARDWARE_TRANSFORMS, 0), 1u);

  ComPtr<IMFAttributes> later;
  ASSERT_HRESULT_SUCCEEDED(MFCreateAttributes(&later, 2));
  AddDecodingDevice(later.Get());
  EXPECT_HRESULT_FAILED(later->GetUnknown(MF_SOURCE_READER_D3D_MANAGER, IID_PPV_ARGS(&given))) << "the scope ended";
}
