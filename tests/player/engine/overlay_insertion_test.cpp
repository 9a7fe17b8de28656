// The Overlay Mixer put between decoder and renderer, against Wine's real
// filter graph. Wine has no Overlay Mixer: a stand-in registered in this
// process for CLSID_OverlayMixer takes its place (see fake_overlay_mixer.h).
#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "common/settings_layout.h"
#include "player/desktop/full_screen_form.h"
#include "player/engine/graph/filter_graph.h"
#include "player/engine/overlay/overlay_hardware.h"
#include "player/engine/filters/pin_walk.h"
#include "player/engine/overlay/overlay_pins.h"
#include "player/engine/video/video_window.h"
#include "tests/support/desktop_look.h"
#include "tests/support/fake_overlay_mixer.h"
#include "tests/support/gui_test.h"
#include "tests/support/hosted_video_window.h"
#include "tests/support/legacy_renderer_only.h"
#include "tests/support/media.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/test_form.h"

using namespace lumorix;
using namespace lumorix::engine;
using namespace lumorix::desktop;
using namespace lumorix::test;
using std::chrono::milliseconds;
using Kind = ConnectionRecord::Kind;

namespace {

class OverlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mixer.Registered());
    form.Show();
    video.SetFilterGraph(&graph);
    graph.SetActive(true);
  }
  void TearDown() override {
    // Wine's sources must have run before their graph is taken apart.
    if (graph.Play()) (void)PumpUntil([&] { return graph.State() == 3; }, milliseconds(3000));
    (void)graph.Stop();
    graph.SetActive(false);
    video.SetFilterGraph(nullptr);
  }

  ComPtr<IFilterGraph> Graph() { return graph.Query<IFilterGraph>(); }
  ComPtr<IPin> RendererInput() {
    ComPtr<IPin> pin;
    EXPECT_EQ(FirstPin(video.GetFilter().Get(), pin), S_OK);
    return pin;
  }

  FakeOverlayMixerRegistration mixer;
  TestForm form{L"Overlay", 420, 320};
  TFilterGraph graph;
  HostedVideoWindow video{form.Handle(), {16, 16, 400, 300}, L"DSVideoWindowEx2"};
};

}  // namespace

TEST_F(OverlayTest, DecoderToRendererBecomesDecoderMixerRenderer) {
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  EXPECT_TRUE(video.OverlayActive());
  EXPECT_EQ(video.LastInsertionRecords(), (std::vector<Kind>{Kind::kBroken, Kind::kMade, Kind::kMade}));
  auto overlay = LastOverlayMixer(Graph().Get());
  ASSERT_TRUE(overlay);
  EXPECT_TRUE(SameObject(OwnerOf(PeerOf(RendererInput().Get()).Get()).Get(), overlay.Get()));
  ComPtr<IPin> mixerInput;
  ASSERT_EQ(overlay->FindPin(L"Input0", &mixerInput), S_OK);
  auto decoder = OwnerOf(PeerOf(mixerInput.Get()).Get());
  ASSERT_TRUE(decoder);
  EXPECT_FALSE(SameObject(decoder.Get(), video.GetFilter().Get()));
  EXPECT_EQ(mixer.State().registrations, 1);
  EXPECT_TRUE(video.Capabilities().CanOverlayGraphic());

  // The colours: the hardware's values became the defaults, then the window's were applied.
  EXPECT_EQ(video.ColorDefaults().lBrightness, 1234);
  EXPECT_TRUE(video.Capabilities().CanControlGamma());
  EXPECT_FALSE(video.Capabilities().CanControlColorEnabled());
  EXPECT_GE(mixer.State().colorWrites, 1);
  EXPECT_EQ(mixer.State().current.lBrightness, 750);
  EXPECT_EQ(mixer.State().current.lContrast, 10000);

  // The picture still flows: the stand-in passes it on and the clip plays to its end.
  ASSERT_TRUE(graph.Play());
  EXPECT_TRUE(PumpUntil([&] { return graph.State() == 3; }, milliseconds(3000)));
}

TEST_F(OverlayTest, MixerAlreadyInPlaceOnlyRegistersAnotherCallback) {
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  ASSERT_TRUE(video.OverlayActive());
  auto before = PeerOf(RendererInput().Get());
  EXPECT_EQ(video.InsertOverlay(), S_OK);
  EXPECT_TRUE(video.LastInsertionRecords().empty());
  EXPECT_EQ(PeerOf(RendererInput().Get()).Get(), before.Get());
  EXPECT_EQ(mixer.State().registrations, 2);
  EXPECT_EQ(mixer.State().created, 1);
}

TEST_F(OverlayTest, RefusedCallbackLeavesAMixerThatWasAlreadyInPlace) {
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  ASSERT_TRUE(video.OverlayActive());
  auto before = PeerOf(RendererInput().Get());
  mixer.State().callbackResult = E_FAIL;
  EXPECT_EQ(video.InsertOverlay(), E_FAIL);
  auto overlay = LastOverlayMixer(Graph().Get());
  ASSERT_TRUE(overlay) << "not this call's to take out";
  EXPECT_EQ(PeerOf(RendererInput().Get()).Get(), before.Get());
  mixer.State().callbackResult = S_OK;
}

TEST_F(OverlayTest, UnconnectedRendererFailsAndLeavesNoMixer) {
  ASSERT_EQ(graph.RenderFile(Clip("sound.avi")), S_OK);  // no picture: the renderer stays unconnected
  EXPECT_FALSE(video.OverlayActive());
  EXPECT_EQ(video.InsertOverlay(), VFW_E_NOT_CONNECTED);
  EXPECT_TRUE(video.LastInsertionRecords().empty());
  EXPECT_FALSE(LastOverlayMixer(Graph().Get()));
  EXPECT_GE(mixer.State().created, 1);
  EXPECT_EQ(mixer.State().registrations, 0);
}

TEST_F(OverlayTest, RefusedCallbackUndoesEveryConnection) {
  mixer.State().callbackResult = E_NOTIMPL;
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  EXPECT_FALSE(video.OverlayActive());
  EXPECT_EQ(video.LastInsertionRecords(), (std::vector<Kind>{Kind::kBroken, Kind::kMade, Kind::kMade}));
  EXPECT_FALSE(LastOverlayMixer(Graph().Get()));
  auto upstream = OwnerOf(PeerOf(RendererInput().Get()).Get());
  ASSERT_TRUE(upstream) << "the decoder is connected to the renderer again";
  EXPECT_FALSE(IsClass(upstream.Get(), CLSID_OverlayMixer));
  EXPECT_FALSE(video.Capabilities().CanOverlayGraphic());
  ASSERT_TRUE(graph.Play());
  EXPECT_TRUE(PumpUntil([&] { return graph.State() == 3; }, milliseconds(3000)));
}

TEST_F(OverlayTest, RestoreDefaultTakesTheHardwareValues) {
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  ASSERT_TRUE(video.OverlayActive());
  video.ColorControl().SetBrightness(5000);
  EXPECT_EQ(mixer.State().current.lBrightness, 5000);
  video.ColorControl().RestoreDefault();
  EXPECT_EQ(mixer.State().current.lBrightness, 1234);
  EXPECT_EQ(mixer.State().current.lSaturation, 11000);
  EXPECT_EQ(video.ColorControl().Hue(), 12);
}

TEST_F(OverlayTest, ColourKeyFromTheMixerReachesTheWindowFromAnyThread) {
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  ASSERT_TRUE(mixer.State().callback);
  int changes = 0;
  video.OnColorKeyChanged = [&] { ++changes; };
  COLORKEY key{CK_RGB, 0, RGB(20, 0, 20), RGB(21, 0, 21)};
  EXPECT_EQ(mixer.State().callback->OnUpdateColorKey(&key, 0), S_OK);
  EXPECT_EQ(video.ColorKey(), RGB(21, 0, 21));
  EXPECT_EQ(changes, 1);

  key.HighColorValue = RGB(30, 0, 30);
  std::thread([&] { (void)mixer.State().callback->OnUpdateColorKey(&key, 0); }).join();
  EXPECT_EQ(changes, 1) << "the mixer's thread changes nothing itself";
  EXPECT_TRUE(PumpUntil([&] { return changes == 2; }, milliseconds(2000)));
  EXPECT_EQ(video.ColorKey(), RGB(30, 0, 30));
}

TEST_F(OverlayTest, ColourKeyIsPaintedLetterBoxedWhilePlaying) {
  mixer.State().aspectX = 16;
  mixer.State().aspectY = 9;
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  ASSERT_TRUE(graph.Play());
  ASSERT_TRUE(video.OverlayShown());
  ASSERT_EQ(video.OverlayRect(), S_OK);
  RECT expected{0, 37, 400, 262};
  EXPECT_TRUE(EqualRect(&video.OverlayRectangle(), &expected));
  // Keep the renderer's own window out of the way of the pixels read back.
  ShowWindow(FindWindowExW(form.Handle(), nullptr, nullptr, L"DSVideoWindowEx2"), SW_HIDE);
  video.PaintColorKey();
  HDC dc = GetDC(video.Handle());
  EXPECT_EQ(GetPixel(dc, 200, 150), video.ColorKey());
  EXPECT_EQ(GetPixel(dc, 200, 10), RGB(0, 0, 0));  // the bars keep the window's colour
  ReleaseDC(video.Handle(), dc);

  ASSERT_TRUE(graph.Stop());
  EXPECT_FALSE(video.OverlayShown());
}

TEST_F(OverlayTest, AspectModeAndZoomGoToTheMixerAndTheRenderer) {
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  video.SetAspectRatio(rmCrop);
  EXPECT_EQ(mixer.State().aspectMode, 2u);
  EXPECT_EQ(video.AspectRatio(), rmCrop);
  EXPECT_THROW(video.SetDigitalZoom(100), std::exception);
  EXPECT_EQ(video.DigitalZoom(), 0);
  video.SetDigitalZoom(50);
  EXPECT_EQ(video.DigitalZoom(), 50);
  auto basic = video.Query<IBasicVideo>();
  ASSERT_TRUE(basic);
  LONG width = 0, height = 0, sourceWidth = 0, sourceLeft = 0;
  ASSERT_EQ(basic->GetVideoSize(&width, &height), S_OK);
  (void)basic->get_SourceWidth(&sourceWidth);
  (void)basic->get_SourceLeft(&sourceLeft);
  EXPECT_EQ(sourceWidth, width / 2);
  EXPECT_EQ(sourceLeft, width / 4);

  // A new clock (a new clip playing) puts both back as they were set.
  mixer.State().aspectMode = 0;
  (void)basic->SetDefaultSourcePosition();
  video.GraphEvent(EC_CLOCK_CHANGED, 0, 0);
  EXPECT_EQ(mixer.State().aspectMode, 2u);
  (void)basic->get_SourceWidth(&sourceWidth);
  EXPECT_EQ(sourceWidth, width / 2);
}

TEST_F(OverlayTest, DesktopPlaybackWithTheOverlayKeysTheDesktopAndRestoresItOnce) {
  const std::string wallpaper = "C:\\windows\\lumorix-test.bmp";
  ASSERT_TRUE(SetUserDesktop(wallpaper, RGB(1, 2, 3)));
  auto kept = [] { return ReadSetting(kSettingsKey, "DesktopPlaybackColor", HKEY_CURRENT_USER).has_value(); };
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  ASSERT_TRUE(video.OverlayActive());
  video.StartDesktopPlayback();
  EXPECT_TRUE(video.DesktopMode());
  EXPECT_FALSE(IsWindowVisible(video.HostForm().Handle())) << "the overlay shows through the colour key";
  EXPECT_FALSE(video.OverlayShown());
  EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), video.ColorKey());
  EXPECT_EQ(RegistryWallpaper(), "");
  EXPECT_TRUE(kept()) << "in the user's settings, for a run that dies";
  EXPECT_FALSE(ReadSetting(kSettingsKey, "DesktopPlaybackColor", HKEY_LOCAL_MACHINE).has_value())
      << "not the machine's";

  video.StartDesktopPlayback();  // a second start keeps the first saved look
  video.StopDesktopPlayback();
  EXPECT_TRUE(video.OverlayShown());
  EXPECT_EQ(GetParent(video.Handle()), form.Handle());
  EXPECT_EQ(RegistryWallpaper(), wallpaper);
  EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), RGB(1, 2, 3));
  EXPECT_FALSE(kept());
}

namespace {

// Re-routes a rendered clip from the window's renderer to a Video Mixing
// Renderer, as a render that picked the mixing renderer would have left it.
ComPtr<IBaseFilter> RouteThroughMixingRenderer(TFilterGraph& graph, TDSVideoWindowEx2& video) {
  ComPtr<IBaseFilter> mixing;
  if (FAILED(CoCreateInstance(CLSID_VideoMixingRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&mixing))))
    return nullptr;
  if (FAILED(graph.Query<IFilterGraph>()->AddFilter(mixing.Get(), L"Video Mixing Renderer"))) return nullptr;
  ComPtr<IPin> rendererInput, mixingInput;
  if (FAILED(FirstPin(video.GetFilter().Get(), rendererInput)) || FAILED(FirstPin(mixing.Get(), mixingInput)))
    return nullptr;
  auto decoder = PeerOf(rendererInput.Get());
  if (!decoder) return nullptr;
  (void)rendererInput->Disconnect();
  (void)decoder->Disconnect();
  if (FAILED(graph.Query<IGraphBuilder>()->Connect(decoder.Get(), mixingInput.Get()))) return nullptr;
  return mixing;
}

bool InGraph(TFilterGraph& graph, IBaseFilter* filter) {
  for (auto& member : FiltersOf(graph.Query<IFilterGraph>().Get()))
    if (SameObject(member.Get(), filter)) return true;
  return false;
}

struct MixingRendererTest : ::testing::Test {
  LegacyRendererOnly legacy;  // a render that picked the mixing renderer passed over the legacy one
  void SetUp() override {
    video.SetFilterGraph(&graph);
    graph.SetActive(true);
    ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);  // no mixer yet: straight into the window's renderer
    mixing = RouteThroughMixingRenderer(graph, video);
    ASSERT_TRUE(mixing);
  }
  void TearDown() override {
    if (graph.Play()) (void)PumpUntil([&] { return graph.State() == 3; }, milliseconds(3000));
    (void)graph.Stop();
    graph.SetActive(false);
    video.SetFilterGraph(nullptr);
  }
  // Registered by each test once the clip is routed; it outlives the graph that holds its filter.
  std::optional<FakeOverlayMixerRegistration> mixer;
  TestForm form{L"Overlay", 420, 320};
  TFilterGraph graph;
  HostedVideoWindow video{form.Handle(), {16, 16, 400, 300}, L"DSVideoWindowEx2"};
  ComPtr<IBaseFilter> mixing;
};

}  // namespace

TEST_F(MixingRendererTest, ItsInputsMoveToTheOverlayMixerAndItLeaves) {
  mixer.emplace();
  ASSERT_EQ(video.InsertOverlay(), S_OK);
  EXPECT_EQ(video.LastInsertionRecords(), (std::vector<Kind>{Kind::kBroken, Kind::kMade, Kind::kMade}));
  EXPECT_FALSE(InGraph(graph, mixing.Get()));
  ComPtr<IPin> rendererInput;
  ASSERT_EQ(FirstPin(video.GetFilter().Get(), rendererInput), S_OK);
  EXPECT_TRUE(IsClass(OwnerOf(PeerOf(rendererInput.Get()).Get()).Get(), CLSID_OverlayMixer));
}

TEST_F(MixingRendererTest, AFailureLeavesThePictureWithTheMixingRenderer) {
  mixer.emplace().State().callbackResult = E_FAIL;
  EXPECT_EQ(video.InsertOverlay(), E_FAIL);
  ASSERT_TRUE(InGraph(graph, mixing.Get()));
  EXPECT_FALSE(InGraph(graph, video.GetFilter().Get())) << "the window's own renderer made way";
  ComPtr<IPin> mixingInput;
  ASSERT_EQ(FirstPin(mixing.Get(), mixingInput), S_OK);
  EXPECT_TRUE(IsConnected(mixingInput.Get()));
  EXPECT_FALSE(LastOverlayMixer(graph.Query<IFilterGraph>().Get()));
}

namespace {

// The stand-in mixer registered, a clip rendered once the test has said
// what the display answers.
struct OverlayHardwareTest : ::testing::Test {
  LegacyRendererOnly legacy;  // the zoom is the legacy renderer's
  FakeOverlayMixerRegistration mixer;
  TestForm form{L"Overlay", 420, 320};
  TFilterGraph graph;
  HostedVideoWindow video{form.Handle(), {16, 16, 400, 300}, L"DSVideoWindowEx2"};
  void Render() {
    video.SetFilterGraph(&graph);
    graph.SetActive(true);
    ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
    ASSERT_TRUE(graph.Play());
  }
  void TearDown() override {
    (void)graph.Stop();
    graph.SetActive(false);
    video.SetFilterGraph(nullptr);
  }
};

}  // namespace

TEST_F(OverlayHardwareTest, WithoutOverlaysTheMixerIsNotTried) {
  // Wine's display, like that of Windows 8 and later, has no overlay hardware.
  SetOverlayHardwareProbe(nullptr);  // the real display's answers, with the stand-in still registered
  SetDesktopCompositionProbe(nullptr);
  ASSERT_FALSE(DisplayHasOverlays());
  Render();
  EXPECT_FALSE(video.OverlayActive());
  EXPECT_EQ(video.InsertOverlay(), DDERR_NOOVERLAYHW);
  EXPECT_EQ(mixer.State().created, 0);
  // The graph's renderer is still found, so the zoom works without the overlay.
  video.SetDigitalZoom(50);
  auto basic = video.Query<IBasicVideo>();
  ASSERT_TRUE(basic);
  LONG width = 0, height = 0, sourceWidth = 0;
  ASSERT_EQ(basic->GetVideoSize(&width, &height), S_OK);
  (void)basic->get_SourceWidth(&sourceWidth);
  EXPECT_EQ(sourceWidth, width / 2);
  EXPECT_TRUE(PumpUntil([&] { return graph.State() == 3; }, milliseconds(3000)));
}

// A driver that claims an overlay on a composed desktop (every Windows 8 and
// later): the key colour would be painted over the user's desktop and never
// show a picture. The mixer is not tried, and the user's desktop is left alone.
TEST_F(OverlayHardwareTest, ACompositedDesktopNeverTakesTheOverlayWhateverTheDriverClaims) {
  SetDesktopCompositionProbe([] { return true; });  // DirectDraw's answer stays the stand-in's: an overlay
  ASSERT_TRUE(SetUserDesktop("C:\\users\\wallpaper.bmp", RGB(10, 20, 30)));
  Render();
  EXPECT_FALSE(video.OverlayActive());
  EXPECT_EQ(mixer.State().created, 0);
  video.StartDesktopPlayback();
  EXPECT_TRUE(video.DesktopMode());
  EXPECT_EQ(RegistryWallpaper(), "C:\\users\\wallpaper.bmp");
  EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), RGB(10, 20, 30)) << "no colour key on the desktop";
  video.StopDesktopPlayback();
}

TEST_F(MixingRendererTest, WithoutAVideoRendererTheNewMixerGoesAgain) {
  mixer.emplace().State().callbackResult = E_FAIL;
  ASSERT_EQ(video.InsertOverlay(), E_FAIL);  // the window's renderer makes way for the mixing renderer
  ASSERT_FALSE(InGraph(graph, video.GetFilter().Get()));
  mixer->State().callbackResult = S_OK;
  EXPECT_EQ(video.InsertOverlay(), E_FAIL) << "no Video Renderer left in the graph";
  EXPECT_FALSE(LastOverlayMixer(graph.Query<IFilterGraph>().Get()));
  EXPECT_EQ(mixer->State().created, 2);
}

TEST_F(MixingRendererTest, WithoutOverlayHardwareItBecomesTheWindowsRenderer) {
  EXPECT_EQ(video.InsertOverlay(), DDERR_NOOVERLAYHW);
  EXPECT_TRUE(InGraph(graph, mixing.Get()));
  EXPECT_FALSE(InGraph(graph, video.GetFilter().Get()));
  ComPtr<IPin> mixingInput;
  ASSERT_EQ(FirstPin(mixing.Get(), mixingInput), S_OK);
  EXPECT_TRUE(IsConnected(mixingInput.Get()));
}

namespace {

// Closed captions through a mixing renderer: decoder → Line 21 Decoder 2 →
// Video Mixing Renderer. Wine has neither Line 21 decoder: stand-ins take their places.
struct Line21Test : ::testing::Test {
  LegacyRendererOnly legacy;
  void SetUp() override {
    video.SetFilterGraph(&graph);
    graph.SetActive(true);
    ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
    auto filterGraph = graph.Query<IFilterGraph>();
    auto builder = graph.Query<IGraphBuilder>();
    ASSERT_EQ(CoCreateInstance(CLSID_VideoMixingRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&mixing)), S_OK);
    ASSERT_EQ(filterGraph->AddFilter(mixing.Get(), L"Video Mixing Renderer"), S_OK);
    captions = MakeStandInFilter(captionState, CLSID_Line21Decoder2, 1);
    ASSERT_EQ(filterGraph->AddFilter(captions.Get(), L"Line 21 Decoder 2"), S_OK);
    ComPtr<IPin> rendererInput, mixingInput, captionsInput, captionsOutput;
    ASSERT_EQ(FirstPin(video.GetFilter().Get(), rendererInput), S_OK);
    decoder = PeerOf(rendererInput.Get());
    ASSERT_TRUE(decoder);
    (void)rendererInput->Disconnect();
    (void)decoder->Disconnect();
    ASSERT_EQ(FirstPin(mixing.Get(), mixingInput), S_OK);
    ASSERT_EQ(captions->FindPin(L"Input0", &captionsInput), S_OK);
    ASSERT_EQ(captions->FindPin(L"Output", &captionsOutput), S_OK);
    ASSERT_EQ(builder->Connect(decoder.Get(), captionsInput.Get()), S_OK);
    ASSERT_EQ(builder->Connect(captionsOutput.Get(), mixingInput.Get()), S_OK);
    mixer.emplace();
  }
  void TearDown() override {
    if (graph.Play()) (void)PumpUntil([&] { return graph.State() == 3; }, milliseconds(3000));
    (void)graph.Stop();
    // The graph, not this test, lets go of Wine's decoder last (Wine faults otherwise).
    decoder.Reset();
    graph.SetActive(false);
    video.SetFilterGraph(nullptr);
  }
  bool CaptionsWiredAsBefore() {
    ComPtr<IPin> input, output;
    if (FAILED(captions->FindPin(L"Input0", &input)) || FAILED(captions->FindPin(L"Output", &output))) return false;
    ComPtr<IPin> mixingInput;
    return PeerOf(input.Get()).Get() == decoder.Get() && SUCCEEDED(FirstPin(mixing.Get(), mixingInput)) &&
           PeerOf(output.Get()).Get() == mixingInput.Get();
  }

  FakeOverlayState captionState;
  std::optional<FakeOverlayMixerRegistration> mixer;
  std::optional<FakeFilterRegistration> line21;
  TestForm form{L"Overlay", 420, 320};
  TFilterGraph graph;
  HostedVideoWindow video{form.Handle(), {16, 16, 400, 300}, L"DSVideoWindowEx2"};
  ComPtr<IBaseFilter> mixing;
  ComPtr<IBaseFilter> captions;
  ComPtr<IPin> decoder;
};

}  // namespace

TEST_F(Line21Test, TheOlderDecoderTakesTheNewOnesPlace) {
  line21.emplace(CLSID_Line21Decoder, 1);
  ASSERT_EQ(video.InsertOverlay(), S_OK);
  EXPECT_EQ(video.LastInsertionRecords(),
            (std::vector<Kind>{Kind::kBroken, Kind::kBroken, Kind::kMade, Kind::kMade, Kind::kMade}));
  EXPECT_FALSE(InGraph(graph, captions.Get()));
  EXPECT_FALSE(InGraph(graph, mixing.Get()));
  ComPtr<IBaseFilter> replacement;
  ASSERT_EQ(graph.Query<IFilterGraph>()->FindFilterByName(L"Line21 Decoder", &replacement), S_OK);
  EXPECT_TRUE(IsClass(replacement.Get(), CLSID_Line21Decoder));
  ComPtr<IPin> input, output;
  ASSERT_EQ(replacement->FindPin(L"Input0", &input), S_OK);
  ASSERT_EQ(replacement->FindPin(L"Output", &output), S_OK);
  EXPECT_EQ(PeerOf(input.Get()).Get(), decoder.Get());
  EXPECT_TRUE(IsClass(OwnerOf(PeerOf(output.Get()).Get()).Get(), CLSID_OverlayMixer));
}

TEST_F(Line21Test, NoOlderDecoderLeavesTheCaptionsPathAsItWas) {
  // Wine cannot make a Line 21 Decoder: the swap fails half-way.
  EXPECT_TRUE(FAILED(video.InsertOverlay()));
  auto records = video.LastInsertionRecords();
  ASSERT_GE(records.size(), 2u);
  EXPECT_EQ(records[0], Kind::kBroken);
  EXPECT_EQ(records[1], Kind::kBroken);
  EXPECT_TRUE(InGraph(graph, captions.Get()));
  EXPECT_TRUE(CaptionsWiredAsBefore());
  EXPECT_FALSE(LastOverlayMixer(graph.Query<IFilterGraph>().Get()));
  EXPECT_FALSE(InGraph(graph, video.GetFilter().Get())) << "the mixing renderer is the window's now";
}
