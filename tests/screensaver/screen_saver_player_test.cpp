// The real LumorixSS.exe commanding the real Lumorix.exe, read back from the
// screen: what a user sees when the system starts or configures the screen saver.
#include <gtest/gtest.h>

#include "common/settings_layout.h"
#include "tests/support/child_process.h"
#include "tests/support/desktop_look.h"
#include "tests/support/gui_test.h"
#include "tests/support/player_process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/screen_capture.h"
#include "tests/support/test_form.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kUserColour = RGB(1, 2, 3);

bool PointerShown() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING);
}

POINT Centre(HWND window) {
  RECT area;
  GetWindowRect(window, &area);
  return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

bool ScreenShows(POINT point, COLORREF colour) { return Near(ScreenShot().Pixel(point.x, point.y), colour); }

// Wine's X11 driver raises windows on the screen but never lowers one: when
// the full-screen form goes under the other windows, whether the screen shows
// it under them depends on which of the raises came last. The window order,
// which Windows draws from, is the thing to check; the clip on the free part
// of the desktop is read from the screen.
bool Under(HWND lower, HWND upper) {
  for (HWND next = GetWindow(upper, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
    if (next == lower) return true;
  return false;
}

bool BackOnTheDesktopUnder(HWND window) {
  HWND host = FindWindowW(L"LumorixHostForm", nullptr);
  return host && host != window && Under(host, window) && ScreenShows({40, 40}, kRed);
}

class ScreenSaverWithPlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    SeedInstallerDefaults();
    WriteSetting(kAudioKey, "PlayListVisible", EncodeInteger(0));
    WritePlayerPlayList({"red-long.avi"});
    ASSERT_TRUE(SetUserDesktop("", kUserColour));
    ASSERT_TRUE(player.Started());
    settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(20000));
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(settings); }, milliseconds(10000)));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(settings); }, milliseconds(10000)));
    ASSERT_TRUE(PumpUntil(DesktopHostShown, milliseconds(5000)));

    // A window the user had open before the screen saver started.
    above.SetColor(kGreen);
    SetWindowPos(above.Handle(), nullptr, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    above.Show();
    centre = Centre(above.Handle());
    ASSERT_TRUE(PumpUntil(
        [&] {
          return ScreenShows(centre, kGreen) && ScreenShows({40, 40}, kRed);
        },
        milliseconds(5000)))
        << "desktop playback with a window above it";
  }

  void TearDown() override {
    DWORD_PTR answer = 0;
    if (settings) SendMessageTimeoutW(settings, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
    EXPECT_TRUE(player.WaitForExit(10000));
  }

  PlayerProcess player;
  HWND settings = nullptr;
  TestForm above{L"Above", 300, 200};
  POINT centre{};
};

}  // namespace

TEST_F(ScreenSaverWithPlayer, StartCoversTheScreenUntilTheVideoIsDoubleClicked) {
  EXPECT_TRUE(PointerShown());
  EXPECT_EQ(RunScreenSaver(L"/s"), 0u);
  EXPECT_TRUE(PumpUntil([&] { return ScreenShows(centre, kRed); }, milliseconds(5000)))
      << "the clip over the window opened before";
  ScreenShot full;
  full.Save("screen-saver-start");
  EXPECT_TRUE(Near(full.Pixel(512, full.Height() - 8), kRed))
      << "over the taskbar too: " << Describe(full.Pixel(512, full.Height() - 8));
  EXPECT_TRUE(PumpUntil([] { return !PointerShown(); }, milliseconds(3000))) << "the pointer is hidden";
  EXPECT_FALSE(IsWindowVisible(settings));

  ClickAt(centre, 2);
  EXPECT_TRUE(PumpUntilSteady([&] { return BackOnTheDesktopUnder(above.Handle()); }, milliseconds(10000)))
      << "back on the desktop, under the window";
  ScreenShot().Save("screen-saver-ended");
  EXPECT_EQ(DesktopColour(), kUserColour) << "no overlay: the user's desktop colour stays";
  EXPECT_TRUE(PumpUntil([] { return PointerShown(); }, milliseconds(3000))) << "the pointer is back";
  EXPECT_FALSE(IsWindowVisible(settings));

  // The switch's other spelling starts it again.
  EXPECT_EQ(RunScreenSaver(L"-S"), 0u);
  EXPECT_TRUE(PumpUntil([&] { return ScreenShows(centre, kRed); }, milliseconds(5000)));
  ClickAt(centre, 2);
  EXPECT_TRUE(PumpUntilSteady([&] { return BackOnTheDesktopUnder(above.Handle()); }, milliseconds(10000)));
}

TEST_F(ScreenSaverWithPlayer, ConfigureShowsTheSettingsWindowAndPreviewOrPasswordChangeNothing) {
  EXPECT_EQ(RunScreenSaver(L"/p 1234"), 0u);
  EXPECT_EQ(RunScreenSaver(L"/a"), 0u);
  PumpFor(milliseconds(1000));
  ScreenShot unchanged;
  EXPECT_TRUE(Near(unchanged.Pixel(centre.x, centre.y), kGreen)) << Describe(unchanged.Pixel(centre.x, centre.y));
  EXPECT_TRUE(Near(unchanged.Pixel(40, 40), kRed)) << Describe(unchanged.Pixel(40, 40));
  EXPECT_FALSE(IsWindowVisible(settings));
  EXPECT_TRUE(PointerShown());

  EXPECT_EQ(RunScreenSaver(L"/c"), 0u);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(settings); }, milliseconds(5000))) << "the settings window";

  // Starting while the settings window is up: the clip leaves the preview
  // for the whole screen, and the settings window stays open under it.
  POINT settingsCentre = Centre(settings);
  EXPECT_EQ(RunScreenSaver(L"/s"), 0u);
  EXPECT_TRUE(
      PumpUntil([&] { return ScreenShows(settingsCentre, kRed) && ScreenShows(centre, kRed); }, milliseconds(5000)));
  ScreenShot().Save("screen-saver-over-settings");
  EXPECT_TRUE(IsWindowVisible(settings));
}
