// Desktop playback keeps the user's wallpaper and desktop colour, also across a crash.
#include <gtest/gtest.h>

#include "common/settings_layout.h"
#include "platform/text.h"
#include "player/engine/desktop_look.h"
#include "player/engine/full_screen_form.h"
#include "player/engine/video_window.h"
#include "tests/support/desktop_look.h"
#include "tests/support/gui_test.h"
#include "tests/support/media.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/test_form.h"

using namespace lumorix;
using namespace lumorix::engine;
using namespace lumorix::test;

namespace {

constexpr COLORREF kUserColour = RGB(1, 2, 3);
const std::string kUserWallpaper = "C:\\windows\\lumorix-test.bmp";

std::string Wallpaper() { return RegistryWallpaper(); }
void SetUserDesktop() { ASSERT_TRUE(test::SetUserDesktop(kUserWallpaper, kUserColour)); }

bool KeptInSettings() { return ReadSetting(kSettingsKey, "DesktopPlaybackColor").has_value(); }

}  // namespace

TEST(DesktopPlayback, ClearsTheDesktopAndRestoresItOnce) {
  SetUserDesktop();
  TestForm form(L"Video", 420, 320);
  TDSVideoWindowEx2 video(form.Handle(), {0, 0, 400, 300}, L"DSVideoWindowEx2");
  video.StartDesktopPlayback();
  EXPECT_TRUE(video.DesktopMode());
  EXPECT_EQ(Wallpaper(), "");
  EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), video.ColorKey());
  EXPECT_TRUE(KeptInSettings());
  EXPECT_EQ(GetParent(video.Handle()), video.HostForm().Handle());
  EXPECT_TRUE(IsWindowVisible(video.HostForm().Handle()));  // no overlay here: the host is the backdrop
  EXPECT_FALSE(GetWindowLongW(video.HostForm().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  video.StartDesktopPlayback();  // a second start keeps the first saved look
  video.StopDesktopPlayback();
  EXPECT_FALSE(video.DesktopMode());
  EXPECT_EQ(Wallpaper(), kUserWallpaper);
  EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), kUserColour);
  EXPECT_FALSE(KeptInSettings());
  EXPECT_EQ(GetParent(video.Handle()), form.Handle());
  EXPECT_FALSE(IsWindowVisible(video.HostForm().Handle()));
}

TEST(DesktopPlayback, FullScreenCoversTheMonitorOnTop) {
  TestForm form(L"Video", 420, 320);
  TDSVideoWindowEx2 video(form.Handle(), {0, 0, 400, 300}, L"DSVideoWindowEx2");
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

TEST(DesktopPlayback, DestroyedDuringPlaybackRestoresTheDesktop) {
  SetUserDesktop();
  TestForm form(L"Video", 420, 320);
  {
    TDSVideoWindowEx2 video(form.Handle(), {0, 0, 400, 300}, L"DSVideoWindowEx2");
    video.StartDesktopPlayback();
  }
  EXPECT_EQ(Wallpaper(), kUserWallpaper);
  EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), kUserColour);
}

TEST(DesktopPlayback, InterruptedRunIsUndoneAtTheNextStart) {
  SetUserDesktop();
  KeepInterruptedLook(ReadDesktopLook());
  ApplyPlaybackLook(RGB(16, 0, 16));  // the run "dies" here
  EXPECT_EQ(Wallpaper(), "");
  EXPECT_TRUE(RestoreInterruptedLook());
  EXPECT_EQ(Wallpaper(), kUserWallpaper);
  EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), kUserColour);
  EXPECT_FALSE(KeptInSettings());
  EXPECT_FALSE(RestoreInterruptedLook());  // nothing left to undo
}

TEST(VideoWindowCursor, HidesAfterAQuietSpellAndComesBackOnAMove) {
  TestForm form(L"Video", 420, 320);
  form.Show();
  TFilterGraph graph;
  TDSVideoWindowEx2 video(form.Handle(), {0, 0, 400, 300}, L"DSVideoWindowEx2");
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
  TDSVideoWindowEx2 video(form.Handle(), {0, 0, 400, 300}, L"DSVideoWindowEx2");
  video.StartDesktopPlayback();
  // As after a change of resolution: host and picture no longer fit the monitor.
  SetWindowPos(video.HostForm().Handle(), nullptr, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
  video.SetBounds({0, 0, 50, 50});
  HWND watcher = FindWindowExW(nullptr, nullptr, L"LumorixShellWatcher", nullptr);
  ASSERT_NE(watcher, nullptr);
  SendMessageW(watcher, WM_DISPLAYCHANGE, 32, MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  RECT host;
  GetWindowRect(video.HostForm().Handle(), &host);
  EXPECT_EQ(host.right - host.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(host.bottom - host.top, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(video.Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(video.Height(), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(video.HostForm().Backdrop());
  video.StopDesktopPlayback();
}
