// Desktop playback without an overlay leaves the user's desktop look alone;
// the look kept for an overlay run that dies is undone at the next start.
// The monitors: the picture on each, read back from the screen, with two
// monitors made of the two halves of the one test screen.
#include <gtest/gtest.h>

#include "common/settings_layout.h"
#include "platform/text.h"
#include "platform/desktop_look.h"
#include "player/desktop/full_screen_form.h"
#include "player/desktop/monitors.h"
#include "player/engine/video/video_window.h"
#include "tests/support/desktop_look.h"
#include "tests/support/gui_test.h"
#include "tests/support/hosted_video_window.h"
#include "tests/support/media.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/screen_capture.h"
#include "tests/support/test_form.h"

using namespace lumorix;
using namespace lumorix::engine;
using namespace lumorix::desktop;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

constexpr COLORREF kUserColour = RGB(1, 2, 3);
const std::string kUserWallpaper = "C:\\windows\\lumorix-test.bmp";

std::string Wallpaper() { return RegistryWallpaper(); }
void SetUserDesktop() { ASSERT_TRUE(test::SetUserDesktop(kUserWallpaper, kUserColour)); }

bool KeptInSettings() {
  return ReadSetting(kSettingsKey, "DesktopPlaybackColor", HKEY_CURRENT_USER).has_value() ||
         ReadSetting(kSettingsKey, "DesktopPlaybackColor").has_value();
}

}  // namespace

TEST(DesktopPlayback, WithoutOverlayTheUsersLookStaysAndNothingIsKept) {
  SetUserDesktop();
  TestForm form(L"Video", 420, 320);
  HostedVideoWindow video(form.Handle(), {0, 0, 400, 300}, L"DSVideoWindowEx2");
  auto lookIsTheUsers = [&](const char* when) {
    EXPECT_EQ(Wallpaper(), kUserWallpaper) << when;
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), kUserColour) << when;
    EXPECT_FALSE(KeptInSettings()) << when;
  };
  video.StartDesktopPlayback();
  EXPECT_TRUE(video.DesktopMode());
  lookIsTheUsers("during");
  EXPECT_EQ(GetParent(video.Handle()), video.HostForm().Handle());
  EXPECT_TRUE(IsWindowVisible(video.HostForm().Handle()));  // no overlay, no shell: the host is the backdrop
  EXPECT_FALSE(GetWindowLongW(video.HostForm().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  video.StopDesktopPlayback();
  EXPECT_FALSE(video.DesktopMode());
  lookIsTheUsers("after");
  EXPECT_EQ(GetParent(video.Handle()), form.Handle());
  EXPECT_FALSE(IsWindowVisible(video.HostForm().Handle()));
  EXPECT_FALSE(platform::RestoreInterruptedLook()) << "nothing to restore";
  lookIsTheUsers("after the next start's recovery");
}

TEST(DesktopPlayback, FullScreenCoversTheMonitorOnTop) {
  TestForm form(L"Video", 420, 320);
  HostedVideoWindow video(form.Handle(), {0, 0, 400, 300}, L"DSVideoWindowEx2");
  video.SetFullScreenTopMost(true);
  video.StartFullScreen();
  EXPECT_TRUE(video.FullScreenMode());
  RECT host;
  GetWindowRect(video.HostForm().Handle(), &host);
  EXPECT_EQ(host.right - host.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_TRUE(GetWindowLongW(video.HostForm().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  video.StartDesktopPlayback();  // leaves full screen for the desktop
  EXPECT_FALSE(video.FullScreenMode());
  EXPECT_TRUE(video.DesktopMode());
  video.StopDesktopPlayback();
}

TEST(DesktopPlayback, InterruptedRunIsUndoneAtTheNextStart) {
  SetUserDesktop();
  platform::KeepInterruptedLook(platform::ReadDesktopLook());
  platform::ApplyPlaybackLook(RGB(16, 0, 16));  // the run "dies" here
  EXPECT_EQ(Wallpaper(), "");
  EXPECT_TRUE(platform::RestoreInterruptedLook());
  EXPECT_EQ(Wallpaper(), kUserWallpaper);
  EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), kUserColour);
  EXPECT_FALSE(KeptInSettings());
  EXPECT_FALSE(platform::RestoreInterruptedLook());  // nothing left to undo
}

TEST(VideoWindowCursor, HidesAfterAQuietSpellAndComesBackOnAMove) {
  TestForm form(L"Video", 420, 320);
  form.Show();
  TFilterGraph graph;
  HostedVideoWindow video(form.Handle(), {0, 0, 400, 300}, L"DSVideoWindowEx2");
  video.SetFilterGraph(&graph);
  graph.SetActive(true);
  ASSERT_EQ(graph.RenderFile(Clip("long.avi")), S_OK);
  ASSERT_TRUE(graph.Play());
  std::vector<bool> events;
  video.OnCursorShowHide = [&](bool shown) { events.push_back(shown); };

  PumpFor(std::chrono::milliseconds(400));
  EXPECT_FALSE(video.CursorHidden()) << "auto-hide is off until asked for";
  video.SetAutoHideCursor(200);
  ASSERT_TRUE(PumpUntil([&] { return video.CursorHidden(); }, std::chrono::milliseconds(3000)));
  PumpFor(std::chrono::milliseconds(300));
  EXPECT_TRUE(video.CursorHidden()) << "the refresh of the cursor's place is not a movement";

  POINT cursor;
  GetCursorPos(&cursor);
  SetCursorPos(cursor.x + 7, cursor.y + 5);
  SendMessageW(video.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(7, 5));
  EXPECT_FALSE(video.CursorHidden());
  EXPECT_EQ(events, (std::vector<bool>{false, true}));

  video.SetAutoHideCursor(0);
  PumpFor(std::chrono::milliseconds(400));
  EXPECT_FALSE(video.CursorHidden());
  (void)graph.Stop();
  graph.SetActive(false);
  video.SetFilterGraph(nullptr);
}

TEST(DesktopPlayback, DisplayChangeCoversTheMonitorAgain) {
  TestForm form(L"Video", 420, 320);
  HostedVideoWindow video(form.Handle(), {0, 0, 400, 300}, L"DSVideoWindowEx2");
  video.StartDesktopPlayback();
  // As after a change of resolution: host and picture no longer fit the monitor.
  SetWindowPos(video.HostForm().Handle(), nullptr, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
  video.SetBounds({0, 0, 50, 50});
  HWND watcher = FindWindowExW(nullptr, nullptr, L"LumorixShellWatcher", nullptr);
  ASSERT_NE(watcher, nullptr);
  SendMessageW(watcher, WM_DISPLAYCHANGE, 32, MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  RECT host;
  // Fitted again once the display has settled, well within a second.
  EXPECT_TRUE(PumpUntil([&] { return video.Width() == GetSystemMetrics(SM_CXSCREEN); }, milliseconds(1000)));
  GetWindowRect(video.HostForm().Handle(), &host);
  EXPECT_EQ(host.right - host.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(host.bottom - host.top, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(video.Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(video.Height(), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(video.HostForm().Backdrop());
  video.StopDesktopPlayback();
}

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// Two monitors side by side, made of the two halves of the one test screen
// (Wine's display has one); the left one, at the origin, is the primary.
class TwoMonitors : public ::testing::Test {
 protected:
  void SetUp() override {
    UseMonitorsForTesting([] {
      int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
      return std::vector<MonitorRect>{{width / 2, 0, width, height}, {0, 0, width / 2, height}};
    });
    video.SetFilterGraph(&graph);
    graph.SetActive(true);
    ASSERT_EQ(graph.RenderFile(Clip("red-long.avi")), S_OK);  // 4:3
    ASSERT_TRUE(graph.Play());
  }
  void TearDown() override {
    video.StopDesktopPlayback();
    (void)graph.Stop();
    graph.SetActive(false);
    video.SetFilterGraph(nullptr);
    UseMonitorsForTesting(nullptr);
    // What the hosts' teardown queued is handled before the next test, as a
    // program's message loop would; left to the end, Wine's display driver
    // now and then faults at the process's exit.
    PumpFor(milliseconds(300));
  }

  // The colour at the middle of each half, and within the bars a 4:3 picture
  // leaves above it on a half (512 x 768: 192 rows on a 1024 x 768 screen).
  struct Seen {
    COLORREF leftMiddle, rightMiddle, leftTop, rightTop;
  };
  Seen Look(const std::string& name) {
    PumpFor(milliseconds(1500));  // a few frames, and a few copies
    ScreenShot shot;
    shot.Save(name);
    int width = shot.Width(), height = shot.Height();
    return {shot.Pixel(width / 4, height / 2), shot.Pixel(3 * width / 4, height / 2), shot.Pixel(width / 4, 20),
            shot.Pixel(3 * width / 4, 20)};
  }
  std::vector<RECT> Halves() const {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    return {{0, 0, width / 2, height}, {width / 2, 0, width, height}};
  }

  TestForm form{L"Video", 420, 320};
  TFilterGraph graph;
  HostedVideoWindow video{form.Handle(), {0, 0, 400, 300}, L"DSVideoWindowEx2"};
};

bool SameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (!EqualRect(&a[i], &b[i])) return false;
  return true;
}

}  // namespace

TEST_F(TwoMonitors, PrimaryModeShowsOnTheMonitorAtTheOrigin) {
  video.StartDesktopPlayback();
  ASSERT_EQ(video.Stage().HostCount(), 1u);
  EXPECT_TRUE(SameRects(video.ShownMonitorRects(), {Halves()[0]}));
  Seen seen = Look("show-on-primary");
  EXPECT_TRUE(Near(seen.leftMiddle, kRed)) << Describe(seen.leftMiddle);
  EXPECT_FALSE(Near(seen.leftTop, kRed)) << "letter-boxed for its monitor: " << Describe(seen.leftTop);
  EXPECT_FALSE(Near(seen.rightMiddle, kRed)) << "the other monitor keeps its desktop: " << Describe(seen.rightMiddle);
}

TEST_F(TwoMonitors, EveryMonitorShowsTheClipOnEachLetterBoxedForItsOwnSize) {
  video.SetShowOn(ShowOn::EveryMonitor);
  video.StartDesktopPlayback();
  ASSERT_EQ(video.Stage().HostCount(), 2u);
  EXPECT_TRUE(SameRects(video.ShownMonitorRects(), Halves()));
  Seen seen = Look("show-on-every-monitor");
  EXPECT_TRUE(Near(seen.leftMiddle, kRed)) << Describe(seen.leftMiddle);
  EXPECT_TRUE(Near(seen.rightMiddle, kRed)) << Describe(seen.rightMiddle);
  EXPECT_FALSE(Near(seen.leftTop, kRed)) << Describe(seen.leftTop);
  EXPECT_FALSE(Near(seen.rightTop, kRed)) << Describe(seen.rightTop);

  // Full screen covers both monitors on top.
  video.StopDesktopPlayback();
  video.SetFullScreenTopMost(true);
  video.StartFullScreen();
  ASSERT_EQ(video.Stage().HostCount(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    HWND host = video.Stage().Host(i).Handle();
    RECT area;
    GetWindowRect(host, &area);
    EXPECT_TRUE(EqualRect(&area, &Halves()[i])) << i;
    EXPECT_TRUE(GetWindowLongW(host, GWL_EXSTYLE) & WS_EX_TOPMOST) << i;
  }
  seen = Look("full-screen-every-monitor");
  EXPECT_TRUE(Near(seen.rightMiddle, kRed)) << Describe(seen.rightMiddle);
}

TEST_F(TwoMonitors, AcrossMonitorsShowsOnePictureOverTheirUnion) {
  video.StartDesktopPlayback();
  video.SetShowOn(ShowOn::AcrossMonitors);  // while playing: fitted again at once
  ASSERT_EQ(video.Stage().HostCount(), 1u);
  EXPECT_TRUE(SameRects(video.ShownMonitorRects(), Halves()));
  EXPECT_EQ(video.Width(), GetSystemMetrics(SM_CXSCREEN));
  Seen seen = Look("show-across-monitors");
  // 4:3 over the 4:3 union: no bars, one picture over both halves.
  for (COLORREF colour : {seen.leftMiddle, seen.rightMiddle, seen.leftTop, seen.rightTop})
    EXPECT_TRUE(Near(colour, kRed)) << Describe(colour);

  // A monitor unplugged: one host on what is left, the clip still playing.
  UseMonitorsForTesting([] {
    return std::vector<MonitorRect>{{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN)}};
  });
  SendMessageW(video.Stage().Watcher().Handle(), WM_DISPLAYCHANGE, 32, 0);
  EXPECT_TRUE(PumpUntil([&] { return video.Width() == GetSystemMetrics(SM_CXSCREEN) / 2; }, milliseconds(1000)));
  EXPECT_EQ(graph.State(), 3) << "still playing";
}
