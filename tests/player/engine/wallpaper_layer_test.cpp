// Desktop playback behind the icons, in both layouts of Explorer's desktop,
// the search for the layer while Explorer is late, has none to give or does
// not answer, and the layer kept right while Explorer rebuilds its windows.
// Wine's shell has no Progman: the test makes Explorer's windows itself, with
// their class names and styles and the way Progman answers 0x052C. Whether
// Windows' compositor then shows the picture only a real Windows 11 shows.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

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
using Clock = std::chrono::steady_clock;

namespace {

constexpr LONG kNoRedirectionBitmap = 0x00200000;  // WS_EX_NOREDIRECTIONBITMAP

class FakeShell {
 public:
  // kClassic: Windows 10 and 11 before 24H2; kComposed: Windows 11 24H2 and
  // later; kSilent: a Progman that makes no wallpaper worker when asked (an
  // older or replaced shell).
  enum Layout { kClassic, kComposed, kSilent };

  // `lateBy`: the first requests for a worker go unanswered (Explorer still
  // starting); `makesWorker` false: a composed Progman whose 0x052C made none.
  explicit FakeShell(Layout layout, int lateBy = 0, bool makesWorker = true)
      : layout_(layout), lateBy_(lateBy), makesWorker_(makesWorker) {
    Register(L"Progman", ProgmanProc);
    Register(L"WorkerW", DefWindowProcW);
    Register(L"SHELLDLL_DefView", DefWindowProcW);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    // Since 24H2 Progman has no surface: its layered children are composed.
    LONG progmanExStyle = WS_EX_TOOLWINDOW | (layout == kComposed ? kNoRedirectionBitmap : 0);
    progman = CreateWindowExW(progmanExStyle, L"Progman", L"Program Manager", WS_POPUP | WS_VISIBLE, 0, 0, width,
                              height, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(progman, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowPos(progman, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    iconView = CreateChild(L"SHELLDLL_DefView");
  }
  ~FakeShell() { Quit(); }

  // As Explorer ending: its windows go, with whatever children they hold.
  void Quit() {
    for (HWND* window : {&wallpaperWorker, &iconHolder, &progman}) {
      if (*window && IsWindow(*window)) DestroyWindow(*window);
      *window = nullptr;
    }
  }

  // Composed: the worker destroyed and made again, as after a new wallpaper,
  // and put straight under the icon view, above whatever was there.
  void RemakeWorker() {
    DestroyWindow(wallpaperWorker);
    wallpaperWorker = CreateChild(L"WorkerW");
    if (iconView) SetWindowPos(wallpaperWorker, iconView, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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

  // A child of Progman over all of it; layered and opaque where Progman composes its children.
  HWND CreateChild(const wchar_t* className) const {
    RECT area;
    GetClientRect(progman, &area);
    HWND child = CreateWindowExW(layout_ == kComposed ? WS_EX_LAYERED : 0, className, L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                 area.right, area.bottom, progman, nullptr, nullptr, nullptr);
    if (layout_ == kComposed) SetLayeredWindowAttributes(child, 0, 255, LWA_ALPHA);
    return child;
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
    if (layout_ == kComposed) {
      if (!makesWorker_) return;
      // The wallpaper's worker: Progman's child, under the icon view.
      wallpaperWorker = CreateChild(L"WorkerW");
      if (iconView) SetWindowPos(wallpaperWorker, iconView, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return;
    }
    // Classic: the icon view moves into a WorkerW, and the wallpaper worker stands right behind it.
    RECT area;
    GetClientRect(progman, &area);
    iconHolder = CreateWindowExW(WS_EX_TOOLWINDOW, L"WorkerW", L"", WS_POPUP | WS_VISIBLE, 0, 0, area.right,
                                 area.bottom, nullptr, nullptr, nullptr, nullptr);
    SetParent(iconView, iconHolder);
    wallpaperWorker = CreateWindowExW(WS_EX_TOOLWINDOW, L"WorkerW", L"", WS_POPUP | WS_VISIBLE, 0, 0, area.right,
                                      area.bottom, nullptr, nullptr, nullptr, nullptr);
    SetWindowPos(wallpaperWorker, iconHolder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  Layout layout_;
  int lateBy_;
  bool makesWorker_;
};

// A window's place among its siblings, the topmost 0; -1 when it is not one of them.
int ZIndex(HWND window) {
  int index = 0;
  for (HWND sibling = GetWindow(window, GW_HWNDFIRST); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT), ++index)
    if (sibling == window) return index;
  return -1;
}

// Where the composed layout needs the host: Progman's layered, opaque child,
// under the icon view and over the wallpaper's worker.
::testing::AssertionResult InComposedLayer(HWND host, const FakeShell& shell) {
  if (GetParent(host) != shell.progman) return ::testing::AssertionFailure() << "not Progman's child";
  if (!(GetWindowLongW(host, GWL_STYLE) & WS_CHILD) || !IsWindowVisible(host))
    return ::testing::AssertionFailure() << "not a shown child";
  if (!(GetWindowLongW(host, GWL_EXSTYLE) & WS_EX_LAYERED)) return ::testing::AssertionFailure() << "not layered";
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(host, &key, &alpha, &flags) || flags != LWA_ALPHA || alpha != 255)
    return ::testing::AssertionFailure() << "not opaque: alpha " << int(alpha) << ", flags " << flags;
  if (shell.iconView && ZIndex(shell.iconView) > ZIndex(host))
    return ::testing::AssertionFailure() << "above the icon view";
  if (shell.wallpaperWorker && ZIndex(host) > ZIndex(shell.wallpaperWorker))
    return ::testing::AssertionFailure() << "under the wallpaper's worker";
  return ::testing::AssertionSuccess();
}

// Records every time a window of this thread becomes layered, with its parent at that moment.
class LayeredStyleLog {
 public:
  LayeredStyleLog() {
    log_ = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
  }
  ~LayeredStyleLog() {
    UnhookWindowsHookEx(hook_);
    log_ = nullptr;
  }
  LayeredStyleLog(const LayeredStyleLog&) = delete;
  LayeredStyleLog& operator=(const LayeredStyleLog&) = delete;

  // The parents `window` had as it became layered, in order.
  std::vector<HWND> ParentsWhenLayered(HWND window) const {
    std::vector<HWND> parents;
    for (const auto& [layered, parent] : entries_)
      if (layered == window) parents.push_back(parent);
    return parents;
  }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && log_ && message->message == WM_STYLECHANGED && message->wParam == WPARAM(GWL_EXSTYLE)) {
      const auto* change = reinterpret_cast<const STYLESTRUCT*>(message->lParam);
      if ((change->styleNew & WS_EX_LAYERED) && !(change->styleOld & WS_EX_LAYERED))
        log_->entries_.emplace_back(message->hwnd, GetParent(message->hwnd));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline LayeredStyleLog* log_ = nullptr;
  HHOOK hook_ = nullptr;
  std::vector<std::pair<HWND, HWND>> entries_;
};

struct LayerTest : ::testing::Test {
  TestForm form{L"Video", 420, 320};
  std::unique_ptr<HostedVideoWindow> video =
      std::make_unique<HostedVideoWindow>(form.Handle(), ui::Bounds{16, 16, 400, 300}, L"DSVideoWindowEx2");
  HWND Host() const { return video->HostForm().Handle(); }
};

// A long clip playing through the legacy renderer, whose own window must
// follow the host (the enhanced one draws into the video window).
struct PlayingLayerTest : LayerTest {
  LegacyRendererOnly legacy;
  TFilterGraph graph;
  void SetUp() override {
    video->SetFilterGraph(&graph);
    graph.SetActive(true);
    ASSERT_EQ(graph.RenderFile(Clip("red-long.avi")), S_OK);
    ASSERT_TRUE(graph.Play());
  }
  void TearDown() override {
    video->StopDesktopPlayback();
    (void)graph.Stop();
    graph.SetActive(false);
    video->SetFilterGraph(nullptr);
  }
  LONGLONG Position() {
    LONGLONG position = 0;
    if (auto seeking = graph.Query<IMediaSeeking>()) (void)seeking->GetCurrentPosition(&position);
    return position;
  }
  HWND RendererOwner() {
    auto window = video->Query<IVideoWindow>();
    OAHWND owner = 0;
    if (!window || window->get_Owner(&owner) != S_OK) return nullptr;
    return reinterpret_cast<HWND>(owner);
  }
};

RECT ScreenRect() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace

TEST_F(LayerTest, IconsWithoutALayerAreNeverCoveredAndTheSearchGoesOn) {
  FakeShell shell(FakeShell::kSilent);
  int hints = 0;
  video->Stage().OnLayerMissing = [&] { ++hints; };
  LayerSearch search = FindWallpaperLayer();
  EXPECT_FALSE(search.layer);
  EXPECT_FALSE(search.shellBusy) << "Progman answered";
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

// After these Explorer may have its desktop back: a picture still waiting for
// the layer asks at once, not at the slow pace of the background search.
TEST_F(LayerTest, AfterUnlockWakeOrANewWallpaperTheLayerIsAskedForAtOnce) {
  FakeShell shell(FakeShell::kSilent);
  bool hinted = false;
  video->Stage().OnLayerMissing = [&] { hinted = true; };
  video->StartDesktopPlayback();
  ASSERT_TRUE(PumpUntil([&] { return hinted; }, milliseconds(4000)));
  HWND watcher = video->Stage().Watcher().Handle();
  struct Case {
    const char* name;
    UINT message;
    WPARAM wParam;
  } const cases[] = {
      {"unlocked", WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK},
      {"awake again", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
      {"a new wallpaper", WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER},
  };
  for (const Case& c : cases) {
    // Back at the background pace: the first tries all went unanswered.
    PumpFor(milliseconds(DesktopStage::kLayerTries * (DesktopStage::kLayerRetryMs + 100)));
    const int asked = shell.spawnRequests;
    SendMessageW(watcher, c.message, c.wParam, 0);
    EXPECT_TRUE(PumpUntil([&] { return shell.spawnRequests > asked; }, milliseconds(DesktopStage::kLayerRetryMs)))
        << c.name;
  }
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
  EXPECT_FALSE(GetWindowLongW(Host(), GWL_EXSTYLE) & WS_EX_LAYERED) << "the worker has a surface of its own";
  EXPECT_TRUE(IsWindowVisible(Host()));
  EXPECT_EQ(GetParent(video->Handle()), Host());
  RECT host, screen = ScreenRect();
  GetWindowRect(Host(), &host);
  EXPECT_TRUE(EqualRect(&host, &screen));
  PumpFor(milliseconds(2 * DesktopStage::kLayerCheckMs));
  EXPECT_EQ(shell.spawnRequests, 1) << "a layer that is right is only looked at";

  video->StopDesktopPlayback();
  EXPECT_EQ(GetParent(video->Handle()), form.Handle());
  EXPECT_EQ(GetAncestor(Host(), GA_PARENT), GetDesktopWindow());
  EXPECT_FALSE(GetWindowLongW(Host(), GWL_STYLE) & WS_CHILD);
  EXPECT_FALSE(IsWindowVisible(Host()));
}

// Windows 11 24H2 and later, with and without the worker and the icon view.
TEST_F(LayerTest, ComposedLayoutHostsAnOpaqueLayeredChildOfProgmanUnderTheIcons) {
  enum class Icons { kShown, kOff, kGone };
  struct Case {
    const char* name;
    bool makesWorker;
    Icons icons;
  } const cases[] = {
      {"worker and icons", true, Icons::kShown},
      {"0x052C made no worker", false, Icons::kShown},
      {"\"Show desktop icons\" off: the view hidden", true, Icons::kOff},
      {"the icon view gone", true, Icons::kGone},
      {"neither worker nor icon view", false, Icons::kGone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeShell shell(FakeShell::kComposed, 0, c.makesWorker);
    if (c.icons == Icons::kOff) ShowWindow(shell.iconView, SW_HIDE);
    if (c.icons == Icons::kGone) {
      DestroyWindow(shell.iconView);
      shell.iconView = nullptr;
    }
    LayeredStyleLog log;
    video->StartDesktopPlayback();
    EXPECT_EQ(shell.wallpaperWorker != nullptr, c.makesWorker);
    EXPECT_TRUE(InComposedLayer(Host(), shell));
    EXPECT_EQ(log.ParentsWhenLayered(Host()), std::vector<HWND>{shell.progman}) << "a child first, layered after";
    RECT host, screen = ScreenRect();
    GetWindowRect(Host(), &host);
    EXPECT_TRUE(EqualRect(&host, &screen));
    EXPECT_EQ(GetParent(video->Handle()), Host());

    video->StopDesktopPlayback();
    EXPECT_EQ(GetAncestor(Host(), GA_PARENT), GetDesktopWindow());
    EXPECT_FALSE(GetWindowLongW(Host(), GWL_EXSTYLE) & WS_EX_LAYERED) << "a top-level window again";
    EXPECT_EQ(GetParent(video->Handle()), form.Handle());
  }
}

// Explorer takes its desktop apart under the hosts without destroying them:
// a new worker above them, their style lost. Put right within a second, the
// clip playing on where it was.
TEST_F(PlayingLayerTest, TheComposedLayerIsPutRightWithinASecondWithoutRestartingTheClip) {
  FakeShell shell(FakeShell::kComposed);
  video->StartDesktopPlayback();
  ASSERT_TRUE(InComposedLayer(Host(), shell));
  const HWND host = Host();
  const int requests = shell.spawnRequests;

  shell.RemakeWorker();
  ASSERT_LT(ZIndex(shell.wallpaperWorker), ZIndex(host)) << "the new worker covers the picture";
  LONGLONG before = Position();
  EXPECT_TRUE(PumpUntil([&] { return InComposedLayer(host, shell); }, milliseconds(1000)));

  SetWindowLongW(host, GWL_EXSTYLE, GetWindowLongW(host, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  EXPECT_TRUE(PumpUntil([&] { return InComposedLayer(host, shell); }, milliseconds(1000)));
  SetLayeredWindowAttributes(host, 0, 128, LWA_ALPHA);
  EXPECT_TRUE(PumpUntil([&] { return InComposedLayer(host, shell); }, milliseconds(1000)));

  EXPECT_EQ(Host(), host) << "mended in place";
  EXPECT_EQ(shell.spawnRequests, requests) << "nothing asked of Explorer";
  EXPECT_EQ(GetParent(video->Handle()), host);
  EXPECT_EQ(graph.State(), 3);
  EXPECT_GT(Position(), before) << "the clip went on";
  video->StopDesktopPlayback();
}

TEST_F(PlayingLayerTest, ExplorerRestartInTheComposedLayoutHostsTheVideoAgain) {
  auto shell = std::make_unique<FakeShell>(FakeShell::kComposed);
  video->StartDesktopPlayback();
  ASSERT_TRUE(InComposedLayer(Host(), *shell));

  shell->Quit();  // Progman takes the host with it; the video window is moved out first
  ASSERT_TRUE(IsWindow(video->Handle()));
  EXPECT_TRUE(video->DesktopMode());
  LONGLONG before = Position();
  shell = std::make_unique<FakeShell>(FakeShell::kComposed);
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return IsWindow(Host()) && InComposedLayer(Host(), *shell); }, milliseconds(3000)));
  EXPECT_EQ(GetParent(video->Handle()), Host());
  EXPECT_TRUE(IsWindowVisible(video->Handle()));
  EXPECT_EQ(RendererOwner(), Host()) << "the renderer's window came along";
  EXPECT_EQ(graph.State(), 3);
  EXPECT_GT(Position(), before);
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

TEST_F(PlayingLayerTest, ExplorerRestartHostsTheVideoAgain) {
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
  EXPECT_EQ(RendererOwner(), Host()) << "the renderer's window came along";
  video->StopDesktopPlayback();
  EXPECT_EQ(GetParent(video->Handle()), form.Handle());
}

// A Progman whose thread does not answer: every call to it gives up within
// its short wait, the player's thread goes on with everything else, and the
// picture goes into the layer once Explorer answers again.
TEST_F(LayerTest, AProgmanThatDoesNotAnswerCostsOnlyARetry) {
  HANDLE answer = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<FakeShell*> hung{nullptr};
  std::atomic<bool> quit{false};
  std::thread explorer([&] {
    FakeShell shell(FakeShell::kComposed);
    hung = &shell;
    WaitForSingleObject(answer, INFINITE);  // stuck, taking no messages
    while (!quit) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  });
  ASSERT_TRUE(PumpUntil([&] { return hung.load() != nullptr; }, milliseconds(3000)));
  FakeShell& shell = *hung;

  auto started = Clock::now();
  video->StartDesktopPlayback();
  EXPECT_LT(Clock::now() - started, milliseconds(250));
  EXPECT_TRUE(video->DesktopMode());
  EXPECT_NE(GetParent(Host()), shell.progman) << "nothing is put into a window of a hung Explorer";

  // Every message of this thread is handled in a short time while the player keeps asking.
  auto longest = Clock::duration::zero();
  for (auto end = Clock::now() + milliseconds(2000); Clock::now() < end;) {
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      continue;
    }
    auto dispatched = Clock::now();
    TranslateMessage(&message);
    DispatchMessageW(&message);
    longest = std::max(longest, Clock::now() - dispatched);
  }
  EXPECT_LT(longest, milliseconds(250)) << "a step waited on Explorer";
  EXPECT_EQ(shell.spawnRequests, 0) << "not one request got through";

  SetEvent(answer);
  EXPECT_TRUE(PumpUntil([&] { return InComposedLayer(Host(), shell); }, milliseconds(3000)));
  EXPECT_GE(shell.spawnRequests, 1);
  video->StopDesktopPlayback();
  EXPECT_NE(GetParent(Host()), shell.progman);
  quit = true;
  explorer.join();
  CloseHandle(answer);
}

TEST(HostForm, LayerThatRefusesTheHostLeavesItTopLevel) {
  TFullScrinForm host(RGB(0, 0, 0));
  LONG style = GetWindowLongW(host.Handle(), GWL_STYLE);
  WallpaperLayer gone{ShellLayout::kComposed, reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFE))};  // no such window
  EXPECT_FALSE(host.HostInLayer(gone, ScreenRect()));
  EXPECT_FALSE(host.InLayer());
  EXPECT_EQ(GetAncestor(host.Handle(), GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetWindowLongW(host.Handle(), GWL_STYLE), style);
  EXPECT_FALSE(GetWindowLongW(host.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}
