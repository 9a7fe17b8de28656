// Desktop playback behind the icons, in both layouts of Explorer's desktop,
// and the search for the layer while Explorer is late or has none to give.
// Wine's shell has no Progman: the test makes Explorer's windows itself, with
// their class names and the way Progman answers 0x052C.
#include <gtest/gtest.h>

#include <memory>

#include "player/desktop/desktop_stage.h"
#include "player/desktop/full_screen_form.h"
#include "player/desktop/wallpaper_layer.h"
#include "player/engine/graph/filter_graph.h"
#include "player/engine/video/video_window.h"
#include "tests/support/gui_test.h"
#include "tests/support/hosted_video_window.h"
#include "tests/support/legacy_renderer_only.h"
#include "tests/support/media.h"
#include "tests/support/test_form.h"

using namespace lumorix;
using namespace lumorix::engine;
using namespace lumorix::desktop;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

class FakeShell {
 public:
  // kSilent: a Progman that makes no wallpaper worker when asked (an older or replaced shell).
  enum Layout { kClassic, kCurrent, kSilent };

  // `lateBy`: the first requests for a worker go unanswered (Explorer still starting).
  explicit FakeShell(Layout layout, int lateBy = 0) : layout_(layout), lateBy_(lateBy) {
    Register(L"Progman", ProgmanProc);
    Register(L"WorkerW", DefWindowProcW);
    Register(L"SHELLDLL_DefView", DefWindowProcW);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    progman = CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager", WS_POPUP | WS_VISIBLE, 0, 0, width,
                              height, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(progman, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowPos(progman, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    iconView = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, progman,
                               nullptr, nullptr, nullptr);
  }
  ~FakeShell() { Quit(); }

  // As Explorer ending: its windows go, with whatever children they hold.
  void Quit() {
    for (HWND* window : {&wallpaperWorker, &iconHolder, &progman}) {
      if (*window && IsWindow(*window)) DestroyWindow(*window);
      *window = nullptr;
    }
  }

  HWND progman = nullptr;
  HWND iconView = nullptr;
  HWND iconHolder = nullptr;  // classic layout: the top-level WorkerW holding the icon view
  HWND wallpaperWorker = nullptr;
  int spawnRequests = 0;

 private:
  static void Register(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
  }

  static LRESULT CALLBACK ProgmanProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* shell = reinterpret_cast<FakeShell*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == 0x052C && shell) {
      shell->Spawn();
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  void Spawn() {
    ++spawnRequests;
    if (wallpaperWorker || layout_ == kSilent || spawnRequests <= lateBy_) return;
    RECT area;
    GetClientRect(progman, &area);
    if (layout_ == kCurrent) {
      wallpaperWorker = CreateWindowExW(0, L"WorkerW", L"", WS_CHILD | WS_VISIBLE, 0, 0, area.right, area.bottom,
                                        progman, nullptr, nullptr, nullptr);
      if (iconView) SetWindowPos(wallpaperWorker, iconView, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return;
    }
    // Classic: the icon view moves into a WorkerW, and the wallpaper worker stands right behind it.
    iconHolder = CreateWindowExW(WS_EX_TOOLWINDOW, L"WorkerW", L"", WS_POPUP | WS_VISIBLE, 0, 0, area.right,
                                 area.bottom, nullptr, nullptr, nullptr, nullptr);
    SetParent(iconView, iconHolder);
    wallpaperWorker = CreateWindowExW(WS_EX_TOOLWINDOW, L"WorkerW", L"", WS_POPUP | WS_VISIBLE, 0, 0, area.right,
                                      area.bottom, nullptr, nullptr, nullptr, nullptr);
    SetWindowPos(wallpaperWorker, iconHolder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  Layout layout_;
  int lateBy_;
};

struct LayerTest : ::testing::Test {
  TestForm form{L"Video", 420, 320};
  std::unique_ptr<HostedVideoWindow> video =
      std::make_unique<HostedVideoWindow>(form.Handle(), ui::Bounds{16, 16, 400, 300}, L"DSVideoWindowEx2");
  HWND Host() const { return video->HostForm().Handle(); }
};

RECT ScreenRect() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace

TEST_F(LayerTest, IconsWithoutALayerAreNeverCoveredAndTheSearchGoesOn) {
  FakeShell shell(FakeShell::kSilent);
  int hints = 0;
  video->Stage().OnLayerMissing = [&] { ++hints; };
  EXPECT_FALSE(FindWallpaperLayer());
  EXPECT_TRUE(ShellHasIconView());
  video->StartDesktopPlayback();
  EXPECT_FALSE(IsWindowVisible(Host())) << "a backdrop would sit over or under the icons";
  EXPECT_TRUE(PumpUntil([&] { return hints == 1; }, milliseconds(4000)));
  EXPECT_GE(shell.spawnRequests, 1 + DesktopStage::kLayerTries);
  PumpFor(milliseconds(DesktopStage::kBackgroundRetryMs + 500));
  EXPECT_GT(shell.spawnRequests, 1 + DesktopStage::kLayerTries) << "asked on in the background";
  EXPECT_EQ(hints, 1) << "said once";
  EXPECT_FALSE(IsWindowVisible(Host()));
  video->StopDesktopPlayback();
}

TEST_F(LayerTest, ALateLayerIsFoundByTheRetries) {
  FakeShell shell(FakeShell::kClassic, 3);
  video->StartDesktopPlayback();
  ASSERT_TRUE(PumpUntil([&] { return shell.wallpaperWorker && GetParent(Host()) == shell.wallpaperWorker; },
                        milliseconds(3000)));
  EXPECT_GT(shell.spawnRequests, 3) << "asked again until it answered";
  EXPECT_TRUE(IsWindowVisible(Host()));
  video->StopDesktopPlayback();
}

TEST_F(LayerTest, ClassicLayoutHostsInTheWorkerBehindTheIcons) {
  FakeShell shell(FakeShell::kClassic);
  video->StartDesktopPlayback();
  EXPECT_EQ(shell.spawnRequests, 1);
  ASSERT_TRUE(shell.wallpaperWorker);
  EXPECT_EQ(GetParent(Host()), shell.wallpaperWorker);
  EXPECT_TRUE(GetWindowLongW(Host(), GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(Host()));
  EXPECT_EQ(GetParent(video->Handle()), Host());
  RECT host, screen = ScreenRect();
  GetWindowRect(Host(), &host);
  EXPECT_TRUE(EqualRect(&host, &screen));

  video->StopDesktopPlayback();
  EXPECT_EQ(GetParent(video->Handle()), form.Handle());
  EXPECT_EQ(GetAncestor(Host(), GA_PARENT), GetDesktopWindow());
  EXPECT_FALSE(GetWindowLongW(Host(), GWL_STYLE) & WS_CHILD);
  EXPECT_FALSE(IsWindowVisible(Host()));
}

TEST_F(LayerTest, CurrentLayoutHostsInsideProgmanBetweenIconsAndWorker) {
  FakeShell shell(FakeShell::kCurrent);
  video->StartDesktopPlayback();
  EXPECT_EQ(GetParent(Host()), shell.progman);
  EXPECT_EQ(GetWindow(shell.iconView, GW_HWNDNEXT), Host()) << "directly below the icons";
  EXPECT_EQ(GetWindow(Host(), GW_HWNDNEXT), shell.wallpaperWorker) << "above the wallpaper worker";
  video->StopDesktopPlayback();
  EXPECT_NE(GetParent(Host()), shell.progman);
}

TEST_F(LayerTest, CurrentLayoutWithTheIconsOffHostsAboveTheWorker) {
  FakeShell shell(FakeShell::kCurrent);
  DestroyWindow(shell.iconView);  // "Show desktop icons" off
  shell.iconView = nullptr;
  video->StartDesktopPlayback();
  EXPECT_EQ(GetParent(Host()), shell.progman);
  EXPECT_EQ(GetWindow(Host(), GW_HWNDNEXT), shell.wallpaperWorker);
  EXPECT_TRUE(IsWindowVisible(Host()));
  video->StopDesktopPlayback();
}

TEST_F(LayerTest, SettingsOpenedWhileTheShellIsGoneShowTheVideo) {
  auto shell = std::make_unique<FakeShell>(FakeShell::kClassic);
  video->StartDesktopPlayback();
  shell->Quit();
  video->StopDesktopPlayback();  // before the posted re-hosting runs
  PumpFor(milliseconds(300));
  EXPECT_EQ(GetParent(video->Handle()), form.Handle());
  EXPECT_TRUE(GetWindowLongW(video->Handle(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(video->DesktopMode());
  EXPECT_FALSE(IsWindowVisible(Host()));
}

TEST_F(LayerTest, ExplorerRestartHostsTheVideoAgain) {
  // The legacy renderer, whose own window must come along (the enhanced one draws into the video window).
  LegacyRendererOnly legacy;
  TFilterGraph graph;
  video->SetFilterGraph(&graph);
  graph.SetActive(true);
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  ASSERT_TRUE(graph.Play());
  auto shell = std::make_unique<FakeShell>(FakeShell::kClassic);
  video->StartDesktopPlayback();
  ASSERT_EQ(GetParent(Host()), shell->wallpaperWorker);

  shell->Quit();  // takes the host with it; the video window is moved out first
  ASSERT_TRUE(IsWindow(video->Handle()));
  EXPECT_TRUE(video->DesktopMode());
  // Without a shell the picture goes on as the bottom-most backdrop.
  ASSERT_TRUE(PumpUntil([&] { return IsWindow(Host()) && GetParent(video->Handle()) == Host(); }, milliseconds(3000)));
  EXPECT_TRUE(video->HostForm().Backdrop());
  EXPECT_TRUE(IsWindowVisible(Host()));

  shell = std::make_unique<FakeShell>(FakeShell::kClassic);
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return shell->wallpaperWorker && GetParent(Host()) == shell->wallpaperWorker; },
                        milliseconds(3000)));
  EXPECT_EQ(GetParent(video->Handle()), Host());
  EXPECT_FALSE(video->HostForm().Backdrop());
  EXPECT_TRUE(IsWindowVisible(video->Handle()));
  auto window = video->Query<IVideoWindow>();
  ASSERT_TRUE(window);
  OAHWND owner = 0;
  ASSERT_EQ(window->get_Owner(&owner), S_OK);
  EXPECT_EQ(reinterpret_cast<HWND>(owner), Host()) << "the renderer's window came along";

  video->StopDesktopPlayback();
  EXPECT_EQ(GetParent(video->Handle()), form.Handle());
  (void)graph.Stop();
  graph.SetActive(false);
  video->SetFilterGraph(nullptr);
}

TEST(HostForm, LayerThatRefusesTheHostLeavesItTopLevel) {
  TFullScrinForm host(RGB(0, 0, 0));
  LONG style = GetWindowLongW(host.Handle(), GWL_STYLE);
  WallpaperLayer gone{reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFE)), nullptr};  // no such window
  EXPECT_FALSE(host.HostInLayer(gone, ScreenRect()));
  EXPECT_FALSE(host.InLayer());
  EXPECT_EQ(GetAncestor(host.Handle(), GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetWindowLongW(host.Handle(), GWL_STYLE), style);
}
