// The renderer a video window draws through, against Wine's real graph and
// Direct3D 11 (Mesa's rasteriser under it): the player's own renderer chosen,
// its picture in the preview's swap chain and on the screen in desktop and
// full-screen playback, the six colour adjustments, a large fine picture
// shrunk as an area filter would, a lost device, the texture path from the
// Media Foundation source, and the legacy renderer when Direct3D is refused.
#include <gtest/gtest.h>

#include <d3d11.h>
#include <mfapi.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "player/engine/filters/pin_walk.h"
#include "player/engine/filters/texture_sample.h"
#include "player/engine/graph/filter_graph.h"
#include "player/engine/mf/mf_decoding_device.h"
#include "player/engine/render/direct3d_renderer.h"
#include "player/engine/render/renderer_fallback.h"
#include "player/engine/video/video_window.h"
#include "tests/support/gui_test.h"
#include "tests/support/hosted_video_window.h"
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

COLORREF FromPixel(DWORD pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

struct Completions : IFilterGraphListener {
  void GraphEvent(long code, LONG_PTR, LONG_PTR) override { count += code == EC_COMPLETE; }
  void ControlEvent(TGraphNotice, int) override {}
  int count = 0;
};

class RendererTest : public ::testing::Test {
 protected:
  void TearDown() override {
    video.StopDesktopPlayback();
    (void)graph.Stop();
    graph.SetActive(false);
    video.SetFilterGraph(nullptr);
  }
  // Plays `name` in the 400 x 200 preview; a 4:3 picture is letter-boxed to 267 x 200.
  void Play(const char* name = "red-long.avi") {
    form.Show();
    video.SetFilterGraph(&graph);
    graph.SetActive(true);
    ASSERT_EQ(graph.RenderFile(Clip(name)), S_OK);
    ASSERT_TRUE(graph.Play());
  }
  Direct3DRenderer* Own() const { return dynamic_cast<Direct3DRenderer*>(video.Renderer()); }
  // The preview as its swap chain holds it: Wine draws a child window's
  // Direct3D off the screen, so the buffer is read instead.
  COLORREF PreviewPixel(int x, int y) {
    std::vector<DWORD> pixels;
    SIZE size{};
    if (!video.CapturePicture(video.Handle(), pixels, size) || x >= size.cx || y >= size.cy) return RGB(1, 2, 3);
    return FromPixel(pixels[static_cast<size_t>(y) * size.cx + x]);
  }
  bool PreviewIsLetterBoxedRed() {
    return Near(PreviewPixel(200, 100), kRed) && Near(PreviewPixel(20, 100), kBlack, 16);
  }

  TestForm form{L"Renderer", 420, 220};
  TFilterGraph graph;
  HostedVideoWindow video{form.Handle(), {0, 0, 400, 200}, L"DSVideoWindowEx2"};
};

}  // namespace

TEST_F(RendererTest, TheOwnRendererIsChosenAndThePreviewShowsTheLetterBoxedPicture) {
  std::vector<std::wstring> hints;
  video.OnRendererFallback = [&](const std::wstring& reason) { hints.push_back(reason); };
  Play();
  ASSERT_TRUE(Own()) << "Direct3D 11 is there (WARP at worst): the player's own renderer";
  EXPECT_TRUE(Own()->Connected());
  EXPECT_TRUE(hints.empty()) << "no fallback, no hint";
  EXPECT_TRUE(PumpUntil([&] { return PreviewIsLetterBoxedRed(); }, milliseconds(5000)));
  EXPECT_TRUE(PumpUntil([&] { return Own()->Renderer().Presented() > 10; }, milliseconds(5000)))
      << "pictures keep coming at their times: " << Own()->Renderer().Presented();

  // On the screen too (under Wine through GDI: a child's Direct3D does not reach it).
  EXPECT_TRUE(PumpUntil(
      [&] {
        POINT centre{200, 100};
        ClientToScreen(video.Handle(), &centre);
        return Near(ScreenShot().Pixel(centre.x, centre.y), kRed);
      },
      milliseconds(5000)));
  // Resized: the buffers follow, the picture letter-boxed in the new size.
  video.SetBounds({0, 0, 200, 200});
  EXPECT_TRUE(PumpUntil([&] { return Near(PreviewPixel(100, 100), kRed) && Near(PreviewPixel(100, 10), kBlack, 16); },
                        milliseconds(5000)));
  // Paused and stopped, the last picture stays.
  ASSERT_TRUE(graph.Pause() || graph.State() == 2);
  long shown = Own()->Renderer().Presented();
  PumpFor(milliseconds(500));
  EXPECT_LE(Own()->Renderer().Presented(), shown + 1) << "nothing moves while paused";
  EXPECT_TRUE(Near(PreviewPixel(100, 100), kRed));
  ASSERT_TRUE(graph.Stop());
  EXPECT_TRUE(Near(PreviewPixel(100, 100), kRed)) << "kept when stopped";
}

TEST_F(RendererTest, SeekingReachesTheDecoderAndTheEndOfTheStreamTheGraph) {
  Play("red-long.avi");
  ASSERT_TRUE(Own());
  EXPECT_NEAR(graph.Duration(), 30000, 200);
  auto seeking = graph.Query<IMediaSeeking>();
  Completions completions;
  graph.AddListener(&completions);
  ASSERT_HRESULT_SUCCEEDED(graph.Seek(285000000));
  LONGLONG now = 0;
  EXPECT_TRUE(
      PumpUntil([&] { return SUCCEEDED(seeking->GetCurrentPosition(&now)) && now > 286000000; }, milliseconds(5000)))
      << now;
  EXPECT_TRUE(PumpUntil([&] { return completions.count > 0; }, milliseconds(8000)));
  EXPECT_EQ(completions.count, 1) << "one renderer, one end";
  graph.RemoveListener(&completions);
  EXPECT_TRUE(Near(PreviewPixel(200, 100), kRed)) << "the last picture stays at the end";
}

TEST_F(RendererTest, DesktopPlaybackDrawsIntoTheTopLevelHostOverTheMonitorLetterBoxed) {
  Play("red-wide.mp4");  // 16:9 on the 4:3 screen: bars above and below
  ASSERT_TRUE(Own());
  video.StartDesktopPlayback();
  std::vector<HWND> windows = Own()->Presenter().Windows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0], video.HostForm().Handle()) << "the host itself, not the video window inside it";
  EXPECT_TRUE(Own()->Presenter().FlipModel(windows[0])) << "a flip-model swap chain";
  EXPECT_FALSE(IsWindowVisible(video.Handle()));
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  int bar = (height - width * 9 / 16) / 2;
  bool drawn = PumpUntil(
      [&] {
        ScreenShot shot;
        // The corners clear of the test form, which stays above the desktop.
        return Near(shot.Pixel(width / 2, height / 2), kRed) && Near(shot.Pixel(width - 8, bar + 8), kRed) &&
               Near(shot.Pixel(8, height - bar - 8), kRed) && Near(shot.Pixel(width - 8, bar / 2), kBlack, 16) &&
               Near(shot.Pixel(width / 2, height - bar / 2), kBlack, 16);
      },
      milliseconds(5000));
  if (!drawn) ScreenShot().Save("own-renderer-desktop");
  EXPECT_TRUE(drawn);
  video.StopDesktopPlayback();
  EXPECT_EQ(Own()->Presenter().Windows(), std::vector<HWND>{video.Handle()}) << "back in the preview";
  EXPECT_TRUE(IsWindowVisible(video.Handle()));
  // Under Wine the preview's buffer reaches the screen through GDI (a child's Direct3D would not).
  EXPECT_TRUE(PumpUntil(
      [&] {
        POINT centre{200, 100};
        ClientToScreen(video.Handle(), &centre);
        return Near(ScreenShot().Pixel(centre.x, centre.y), kRed);
      },
      milliseconds(5000)))
      << "the preview on the screen again";
}

namespace {

// The colour bars in full screen: red, mid grey, white, black side by side.
class ColourSliders : public RendererTest {
 protected:
  void SetUp() override {
    Play("colour-bars.avi");
    ASSERT_TRUE(Own());
    video.SetFullScreenTopMost(true);
    video.StartFullScreen();
    PumpFor(milliseconds(1500));
  }
  struct Bars {
    COLORREF red, grey, white, black, nearEdge;  // nearEdge: grey just left of the white bar
  };
  Bars Look() {
    PumpFor(milliseconds(400));
    ScreenShot shot;
    int w = shot.Width(), h = shot.Height();
    return {shot.Pixel(w / 8, h / 2), shot.Pixel(3 * w / 8, h / 4), shot.Pixel(5 * w / 8, h / 2),
            shot.Pixel(7 * w / 8, h / 2), shot.Pixel(w / 2 - 3, h / 2)};
  }
  static int Luma(COLORREF c) { return (GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c)) / 10; }
};

}  // namespace

TEST_F(ColourSliders, EachSliderChangesThePictureAsAUserExpectsAndItsDefaultLeavesItAsItIs) {
  Bars plain = Look();
  ASSERT_TRUE(Near(plain.red, kRed, 40)) << Describe(plain.red);
  ASSERT_TRUE(Near(plain.grey, RGB(128, 128, 128), 24)) << Describe(plain.grey);
  ASSERT_TRUE(Near(plain.white, RGB(255, 255, 255), 24)) << Describe(plain.white);
  ASSERT_TRUE(Near(plain.black, kBlack, 24)) << Describe(plain.black);
  TColorControl& colours = video.ColorControl();
  struct Case {
    const char* slider;
    void (TColorControl::*set)(int);
    int moved, normal;
    std::function<bool(const Bars& moved, const Bars& plain)> expected;
  } cases[] = {
      {"brightness lowest: darker", &TColorControl::SetBrightness, 0, 750,
       [](const Bars& m, const Bars& p) { return Luma(m.grey) < Luma(p.grey) - 40; }},
      {"contrast lowest: flat", &TColorControl::SetContrast, 0, 10000,
       [](const Bars& m, const Bars&) { return std::abs(Luma(m.white) - Luma(m.black)) < 16; }},
      {"saturation lowest: grey", &TColorControl::SetSaturation, 0, 10000,
       [](const Bars& m, const Bars&) {
         return std::abs(GetRValue(m.red) - GetGValue(m.red)) < 16 &&
                std::abs(GetRValue(m.red) - GetBValue(m.red)) < 16;
       }},
      {"hue half way round: red towards cyan", &TColorControl::SetHue, 180, 0,
       [](const Bars& m, const Bars&) {
         return GetGValue(m.red) > GetRValue(m.red) && GetBValue(m.red) > GetRValue(m.red);
       }},
      {"gamma up: mid greys lighter, ends kept", &TColorControl::SetGamma, 500, 1,
       [](const Bars& m, const Bars& p) {
         return Luma(m.grey) > Luma(p.grey) + 40 && Luma(m.black) < 24 && Luma(m.white) > 230;
       }},
      {"sharpness highest: the edge's contrast raised", &TColorControl::SetSharpness, 10, 5,
       [](const Bars& m, const Bars& p) { return Luma(m.nearEdge) < Luma(p.nearEdge) - 8; }},
  };
  for (const Case& c : cases) {
    (colours.*c.set)(c.moved);
    Bars moved;
    bool changed = PumpUntil(
        [&] {
          moved = Look();
          return c.expected(moved, plain);
        },
        milliseconds(3000));
    if (!changed) ScreenShot().Save(std::string("colour-") + std::to_string(c.moved));
    EXPECT_TRUE(changed) << c.slider << ": red " << Describe(moved.red) << " grey " << Describe(moved.grey) << " white "
                         << Describe(moved.white) << " black " << Describe(moved.black) << " edge "
                         << Describe(moved.nearEdge) << " (was " << Describe(plain.nearEdge) << ")";
    (colours.*c.set)(c.normal);
    Bars back = Look();
    EXPECT_TRUE(Near(back.grey, plain.grey, 6) && Near(back.red, plain.red, 6) &&
                Near(back.nearEdge, plain.nearEdge, 6))
        << c.slider << ": the default gives the picture back";
  }
  for (bool can : {video.Capabilities().CanControlBrigtness(), video.Capabilities().CanControlContrast(),
                   video.Capabilities().CanControlGamma(), video.Capabilities().CanControlHue(),
                   video.Capabilities().CanControlSaturation(), video.Capabilities().CanControlSharpness()})
    EXPECT_TRUE(can) << "every slider can move";
}

// 1920 x 1080 of one-pixel detail on the 1024 x 768 screen: each screen pixel
// is the mean of what it covers, as ffmpeg's area filter makes it, not an
// alias of whichever source pixel it happens to land on.
TEST_F(RendererTest, ALargeFinePictureIsShrunkWithoutShimmer) {
  Play("fine-1080.avi");
  ASSERT_TRUE(Own());
  video.SetFullScreenTopMost(true);
  video.StartFullScreen();
  std::ifstream file(std::string(LUMORIX_BUILD_DIR) + "/test-media/fine-1080-area.bgra", std::ios::binary);
  std::vector<unsigned char> reference((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_EQ(reference.size(), 1024u * 576 * 4);
  double mean = 0;
  int worst = 0;
  bool close = PumpUntil(
      [&] {
        ScreenShot shot;
        if (shot.Width() != 1024 || shot.Height() != 768) return false;
        std::vector<int> errors;
        for (int y = 8; y < 568; y += 3)
          for (int x = 8; x < 1016; x += 3) {
            int seen = GetGValue(shot.Pixel(x, 96 + y));
            int wanted = reference[(static_cast<size_t>(y) * 1024 + x) * 4 + 1];
            errors.push_back(std::abs(seen - wanted));
          }
        std::sort(errors.begin(), errors.end());
        double sum = 0;
        for (int e : errors) sum += e;
        mean = sum / errors.size();
        worst = errors[errors.size() * 99 / 100];
        return mean < 12 && worst < 48;
      },
      milliseconds(6000));
  if (!close) ScreenShot().Save("fine-shrunk");
  EXPECT_TRUE(close) << "mean difference " << mean << ", 99th percentile " << worst;
}

TEST_F(RendererTest, ALostDeviceIsMadeAgainAndThePictureComesBack) {
  Play();
  ASSERT_TRUE(Own());
  ASSERT_TRUE(PumpUntil([&] { return PreviewIsLetterBoxedRed(); }, milliseconds(5000)));
  ComPtr<ID3D11Device> before = Own()->Presenter().Device();
  // Direct3D removes a device on a driver update or a graphics switch, which no
  // test can cause (under Wine least of all): the next present is taken as one.
  Own()->Presenter().LoseDeviceAtNextPresent();
  EXPECT_TRUE(PumpUntil([&] { return Own()->Presenter().DevicesReplaced() == 1; }, milliseconds(5000)));
  EXPECT_NE(Own()->Presenter().Device().Get(), before.Get());
  EXPECT_TRUE(PumpUntil([&] { return PreviewIsLetterBoxedRed(); }, milliseconds(5000))) << "the picture is back";
  EXPECT_EQ(graph.State(), 3) << "still playing";
}

TEST_F(RendererTest, RefusedDirect3DFallsBackToTheLegacyRendererAndSaysWhyOnce) {
  LegacyRendererOnly legacy;  // as on a system where Direct3D 11 makes no device
  std::vector<std::wstring> hints;
  video.OnRendererFallback = [&](const std::wstring& reason) { hints.push_back(reason); };
  Play();
  ASSERT_TRUE(video.Renderer());
  EXPECT_EQ(video.Renderer()->Kind(), RendererKind::kLegacy);
  EXPECT_TRUE(video.Renderer()->Connected());
  ASSERT_EQ(hints.size(), 1u);
  EXPECT_NE(hints[0].find(L"Direct3D 11 refused"), std::wstring::npos);
  bool drawn = PumpUntil(
      [&] {
        ScreenShot shot;
        POINT centre{200, 100}, bar{20, 100};
        ClientToScreen(video.Handle(), &centre);
        ClientToScreen(video.Handle(), &bar);
        return Near(shot.Pixel(centre.x, centre.y), kRed) && Near(shot.Pixel(bar.x, bar.y), kBlack, 16);
      },
      milliseconds(5000));
  if (!drawn) ScreenShot().Save("legacy-renderer-fallback");
  EXPECT_TRUE(drawn);
  // The next clip keeps the renderer and says nothing more.
  graph.ClearGraph();
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  EXPECT_EQ(hints.size(), 1u);
}

// 1280 x 720, red left of blue, through the legacy renderer: handed the
// decoder's YUV shrunk to 1024 x 576 RGB by the picture shrinker.
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
}

namespace {

// A renderer filter on its own, its input connected as the Media Foundation
// source connects it, for the texture path: Wine's decoders give no textures,
// so the test hands the sample a decoder would (a seam; the texture is real,
// of the renderer's device).
class TexturePath : public ::testing::Test {
 protected:
  void SetUp() override {
    std::wstring reason;
    auto made = Direct3DRenderer::Create(reason);
    ASSERT_TRUE(made) << "no device: " << std::string(reason.begin(), reason.end());
    renderer = std::move(made);
    form.Show();
    renderer->Present({window.Handle(), {0, 0, 64, 48}, false, true, L"", 0, 0});
  }
  void Connect(const GUID& subtype) {
    VIDEOINFOHEADER info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 64;
    info.bmiHeader.biHeight = 48;
    AM_MEDIA_TYPE type{};
    type.majortype = MEDIATYPE_Video;
    type.subtype = subtype;
    type.formattype = FORMAT_VideoInfo;
    type.cbFormat = sizeof info;
    type.pbFormat = reinterpret_cast<BYTE*>(&info);
    RenderInputPin* input = renderer->Renderer().Input();
    ASSERT_HRESULT_SUCCEEDED(input->ReceiveConnection(input, &type));  // any pin stands for the source's
    ASSERT_HRESULT_SUCCEEDED(renderer->Renderer().Run(0));             // running without a clock: shown as it comes
  }
  COLORREF Shown() {
    std::vector<DWORD> pixels;
    SIZE size{};
    if (!renderer->Capture(window.Handle(), pixels, size) || size.cx < 32) return RGB(1, 2, 3);
    return FromPixel(pixels[static_cast<size_t>(size.cy / 2) * size.cx + size.cx / 2]);
  }
  void TearDown() override {
    if (renderer) {
      (void)renderer->Renderer().Stop();
      renderer->Withdraw();
    }
  }

  TestForm form{L"Texture", 100, 80};
  TestForm window{L"Picture", 64, 48};
  std::unique_ptr<Direct3DRenderer> renderer;
};

}  // namespace

TEST_F(TexturePath, ASampleCarryingATextureOfTheRenderersDeviceIsShownWithoutBytes) {
  Connect(MEDIASUBTYPE_RGB32);
  window.Show();
  ComPtr<ID3D11Device> device = renderer->Presenter().Device();
  std::vector<DWORD> blue(64 * 48, 0xFF0000FF);
  D3D11_TEXTURE2D_DESC desc{64, 48, 1, 1, DXGI_FORMAT_B8G8R8A8_UNORM, {1, 0}, D3D11_USAGE_DEFAULT, 0, 0, 0};
  D3D11_SUBRESOURCE_DATA data{blue.data(), 64 * 4, 0};
  ComPtr<ID3D11Texture2D> texture;
  ASSERT_HRESULT_SUCCEEDED(device->CreateTexture2D(&desc, &data, &texture));
  ComPtr<IMediaSample> sample = MakeCom<TextureSample>(ComPtr<IUnknown>(texture.Get()), 0);
  BYTE* bytes = nullptr;
  EXPECT_HRESULT_FAILED(sample->GetPointer(&bytes)) << "no bytes travel";
  ASSERT_EQ(renderer->Renderer().Input()->Receive(sample.Get()), S_OK);
  EXPECT_EQ(renderer->Renderer().Presented(), 1);
  EXPECT_TRUE(Near(Shown(), RGB(0, 0, 255), 8)) << Describe(Shown());

  // A decoder's NV12 texture, where the device can make one (Mesa's may not).
  D3D11_TEXTURE2D_DESC nv12 = desc;
  nv12.Format = DXGI_FORMAT_NV12;
  std::vector<BYTE> planes(64 * 48 * 3 / 2, 128);
  std::fill(planes.begin(), planes.begin() + 64 * 48, 235);  // white
  D3D11_SUBRESOURCE_DATA nv12Data{planes.data(), 64, 0};
  ComPtr<ID3D11Texture2D> decoded;
  if (FAILED(device->CreateTexture2D(&nv12, &nv12Data, &decoded))) GTEST_SKIP() << "no NV12 textures on this device";
  // Wine's device makes NV12 textures but cannot copy them (Windows' drivers can).
  D3D11_TEXTURE2D_DESC readable = nv12;
  readable.Usage = D3D11_USAGE_STAGING;
  readable.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
  ComPtr<ID3D11Texture2D> staging;
  ComPtr<ID3D11DeviceContext> context;
  device->GetImmediateContext(&context);
  D3D11_MAPPED_SUBRESOURCE mapped{};
  bool copies = SUCCEEDED(device->CreateTexture2D(&readable, nullptr, &staging));
  if (copies) {
    context->CopyResource(staging.Get(), decoded.Get());
    copies = SUCCEEDED(context->Map(staging.Get(), 0, D3D11_MAP_READ, 0, &mapped)) &&
             static_cast<const BYTE*>(mapped.pData)[0] == 235;
    if (mapped.pData) context->Unmap(staging.Get(), 0);
  }
  if (!copies) GTEST_SKIP() << "this device cannot copy NV12 textures";
  (void)renderer->Renderer().Stop();
  (void)renderer->Renderer().Input()->Disconnect();
  Connect(MEDIASUBTYPE_NV12);
  ComPtr<IMediaSample> picture = MakeCom<TextureSample>(ComPtr<IUnknown>(decoded.Get()), 0);
  ASSERT_EQ(renderer->Renderer().Input()->Receive(picture.Get()), S_OK);
  EXPECT_TRUE(Near(Shown(), RGB(255, 255, 255), 8)) << Describe(Shown());
}

// The schedule on a real clock: a late picture is dropped (but never more
// than four in a row), one on time shown at once, an early one shown only
// when its time comes.
TEST_F(TexturePath, PicturesAreShownAtTheirTimesOnTheClock) {
  ComPtr<IReferenceClock> clock;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_SystemClock, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&clock)));
  Connect(MEDIASUBTYPE_RGB32);
  RenderFilter& filter = renderer->Renderer();
  (void)filter.Stop();
  ASSERT_HRESULT_SUCCEEDED(filter.SetSyncSource(clock.Get()));
  REFERENCE_TIME start = 0;
  ASSERT_HRESULT_SUCCEEDED(clock->GetTime(&start));
  ASSERT_HRESULT_SUCCEEDED(filter.Run(start));  // stream time 0 is now
  ComPtr<ID3D11Device> device = renderer->Presenter().Device();
  std::vector<DWORD> green(64 * 48, 0xFF00FF00);
  D3D11_TEXTURE2D_DESC desc{64, 48, 1, 1, DXGI_FORMAT_B8G8R8A8_UNORM, {1, 0}, D3D11_USAGE_DEFAULT, 0, 0, 0};
  D3D11_SUBRESOURCE_DATA data{green.data(), 64 * 4, 0};
  ComPtr<ID3D11Texture2D> texture;
  ASSERT_HRESULT_SUCCEEDED(device->CreateTexture2D(&desc, &data, &texture));
  // Each picture a tenth of a second long, at `at` milliseconds of stream time.
  auto send = [&](LONGLONG at) {
    ComPtr<IMediaSample> sample = MakeCom<TextureSample>(ComPtr<IUnknown>(texture.Get()), 0);
    REFERENCE_TIME from = at * 10000, to = from + 1000000;
    (void)sample->SetTime(&from, &to);
    DWORD before = GetTickCount();
    EXPECT_EQ(filter.Input()->Receive(sample.Get()), S_OK);
    return GetTickCount() - before;
  };
  struct Case {
    LONGLONG at;  // milliseconds from now
    long presented, dropped;
    DWORD leastWait;
  } cases[] = {
      {-2000, 0, 1, 0}, {-1900, 0, 2, 0}, {-1800, 0, 3, 0},
      {-1700, 0, 4, 0}, {-1600, 1, 4, 0},  // a fifth late one in a row is shown: the picture must move
      {0, 2, 4, 0},                        // on time
      {-1500, 2, 5, 0},                    // late again after one shown
  };
  for (const Case& c : cases) {
    REFERENCE_TIME now = 0;
    (void)clock->GetTime(&now);
    send((now - start) / 10000 + c.at);
    EXPECT_EQ(filter.Presented(), c.presented) << c.at;
    EXPECT_EQ(filter.Dropped(), c.dropped) << c.at;
  }
  REFERENCE_TIME now = 0;
  (void)clock->GetTime(&now);
  DWORD waited = send((now - start) / 10000 + 400);
  EXPECT_GE(waited, 350u) << "an early picture waits for its time";
  EXPECT_EQ(filter.Presented(), 3);
  EXPECT_TRUE(Near(Shown(), RGB(0, 255, 0), 8)) << Describe(Shown());
}

TEST(DecodingDevice, TheSourceReadersGetTheOwnRenderersDeviceManager) {
  TFilterGraph graph;
  TestForm form{L"Device", 100, 80};
  HostedVideoWindow video{form.Handle(), {0, 0, 64, 48}, L"DSVideoWindowEx2"};
  video.SetFilterGraph(&graph);
  graph.SetActive(true);
  auto own = dynamic_cast<Direct3DRenderer*>(video.Renderer());
  ASSERT_TRUE(own);
  ComPtr<IUnknown> offered = DecodingDeviceOf(graph.Query<IFilterGraph>().Get());
  ComPtr<IMFDXGIDeviceManager> manager = own->Presenter().DeviceManager();
  ASSERT_TRUE(manager) << "Media Foundation is there under Wine";
  // Lent only where the device can copy the decoders' NV12 textures (Wine's cannot).
  EXPECT_EQ(offered.Get(), own->Presenter().LendsDevice() ? ComPtr<IUnknown>(manager.Get()).Get() : nullptr);
  offered = manager;
  ComPtr<IMFAttributes> attributes;
  ASSERT_HRESULT_SUCCEEDED(MFCreateAttributes(&attributes, 4));
  EXPECT_FALSE(AddDecodingDevice(attributes.Get())) << "outside the scope: decoding into memory";
  {
    DecodingDeviceScope scope(offered);
    EXPECT_TRUE(AddDecodingDevice(attributes.Get()));
  }
  ComPtr<IUnknown> given;
  ASSERT_HRESULT_SUCCEEDED(attributes->GetUnknown(MF_SOURCE_READER_D3D_MANAGER, IID_PPV_ARGS(&given)));
  EXPECT_EQ(given.Get(), offered.Get());
  graph.SetActive(false);
  video.SetFilterGraph(nullptr);
}

// What the window does when its renderer was left unconnected: the picture
// the graph gave to a renderer of its own choosing is taken back.
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

// The next clip's renderer draws through the playing one's presenter: its
// first picture waits hidden, then takes over at once, or crossfading from
// the picture it replaces.
TEST(PictureLanes, TheNextPictureWaitsHiddenAndTakesOverAtOnceOrCrossfading) {
  TestForm window{L"Lanes", 64, 48};
  window.Show();
  std::wstring reason;
  std::shared_ptr<VideoPresenter> presenter = VideoPresenter::Create(reason);
  ASSERT_TRUE(presenter) << std::string(reason.begin(), reason.end());
  presenter->SetWindows({window.Handle()});
  const PictureFormat format{PictureLayout::kRgb32, 64, 48, 64, 48};
  auto show = [&](PictureLane& lane, DWORD colour) {
    std::vector<DWORD> pixels(64 * 48, colour);
    presenter->SetFormat(lane, format);
    return presenter->Show(lane, {reinterpret_cast<const BYTE*>(pixels.data()), pixels.size() * 4});
  };
  auto shown = [&] {
    std::vector<DWORD> pixels;
    SIZE size{};
    if (!presenter->Capture(window.Handle(), pixels, size) || size.cx < 32) return RGB(1, 2, 3);
    return FromPixel(pixels[static_cast<size_t>(size.cy / 2) * size.cx + size.cx / 2]);
  };
  std::shared_ptr<PictureLane> playing = presenter->NewLane();
  presenter->ShowLane(playing, 0);
  ASSERT_TRUE(show(*playing, 0xFFFF0000));
  EXPECT_TRUE(Near(shown(), kRed, 8)) << Describe(shown());

  std::shared_ptr<PictureLane> next = presenter->NewLane();
  ASSERT_TRUE(show(*next, 0xFF0000FF));
  EXPECT_TRUE(Near(shown(), kRed, 8)) << "the next clip's picture waits hidden: " << Describe(shown());
  presenter->ShowLane(next, 0);
  EXPECT_TRUE(Near(shown(), RGB(0, 0, 255), 8)) << "taken over at once: " << Describe(shown());
  EXPECT_FALSE(presenter->Fading());
  show(*playing, 0xFFFF0000);  // the lane left behind draws nothing any more
  EXPECT_TRUE(Near(shown(), RGB(0, 0, 255), 8)) << Describe(shown());

  std::shared_ptr<PictureLane> after = presenter->NewLane();
  ASSERT_TRUE(show(*after, 0xFF00FF00));
  presenter->ShowLane(after, 2000);
  next.reset();  // its renderer left: the fade still has its picture
  Sleep(1000);
  COLORREF middle = shown();
  EXPECT_TRUE(GetGValue(middle) > 40 && GetGValue(middle) < 235 && GetBValue(middle) > 20 &&
              GetBValue(middle) < 215 && GetRValue(middle) < 16)
      << "half way, blue and green mixed: " << Describe(middle);
  EXPECT_TRUE(presenter->Fading());
  // Done when a picture is drawn after its time.
  EXPECT_TRUE(PumpUntil([&] { return Near(shown(), RGB(0, 255, 0), 8) && !presenter->Fading(); }, milliseconds(4000)))
      << Describe(shown());
}
