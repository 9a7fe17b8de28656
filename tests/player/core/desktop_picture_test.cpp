// What the screen shows while the real Lumorix.exe plays a solid red clip:
// read back from the display itself. Without an overlay (Wine has none, nor
// has Windows 8 on) the user's wallpaper and desktop colour stay as they
// were: before, during, after, and after the player is killed.
#include <gtest/gtest.h>

#include "common/settings_layout.h"
#include "platform/text.h"
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
constexpr UINT kScreenSaverCommand = WM_USER + 100;
const std::string kUserWallpaper = "C:\\windows\\lumorix-user.bmp";

std::string Wallpaper() { return RegistryWallpaper(); }

bool LookKept() {
  return ReadSetting(kSettingsKey, "DesktopPlaybackColor", HKEY_CURRENT_USER).has_value() ||
         ReadSetting(kSettingsKey, "DesktopPlaybackColor").has_value();
}

// The user's look, untouched, and nothing kept for a recovery to write back.
void ExpectTheUsersLook(const char* when) {
  EXPECT_EQ(DesktopColour(), kUserColour) << when;
  EXPECT_EQ(Wallpaper(), kUserWallpaper) << when;
  EXPECT_FALSE(LookKept()) << when;
}

class DesktopPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    SeedInstallerDefaults();
    WriteSetting(kAudioKey, "PlayListVisible", EncodeInteger(0));
    WritePlayerPlayList({"red-long.avi"});
    ASSERT_TRUE(SetUserDesktop(kUserWallpaper, kUserColour));
  }

  // The settings window is up, then gone to the tray, and the desktop is the clip.
  HWND WaitForDesktopPlayback() {
    HWND settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(20000));
    if (!settings) return nullptr;
    if (!PumpUntil([&] { return IsWindowVisible(settings); }, milliseconds(10000))) return nullptr;
    if (!PumpUntil([&] { return !IsWindowVisible(settings); }, milliseconds(10000))) return nullptr;
    if (!PumpUntil(DesktopHostShown, milliseconds(5000))) return nullptr;
    PumpFor(milliseconds(1000));  // a few frames
    return settings;
  }

  static bool EndSession(HWND settings) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(settings, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer) != 0;
  }
};

// Points spread over the desktop, clear of the taskbar at the bottom.
const POINT kDesktopPoints[] = {{40, 40}, {512, 300}, {980, 80}, {60, 600}, {900, 640}};

}  // namespace

TEST_F(DesktopPicture, SolidClipFillsTheDesktopBelowEveryWindow) {
  PlayerProcess player;
  ASSERT_TRUE(player.Started());
  HWND settings = WaitForDesktopPlayback();
  ASSERT_NE(settings, nullptr) << "desktop playback did not start";
  ExpectTheUsersLook("during desktop playback");

  ScreenShot desktop;
  desktop.Save("desktop-playback");
  for (POINT point : kDesktopPoints)
    EXPECT_TRUE(Near(desktop.Pixel(point.x, point.y), kRed))
        << point.x << "," << point.y << ": " << Describe(desktop.Pixel(point.x, point.y));

  // A window opened above stays above, also after a click on the desktop picture.
  TestForm above(L"Above", 300, 200);
  above.SetColor(kGreen);
  SetWindowPos(above.Handle(), nullptr, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  above.Show();
  PumpFor(milliseconds(500));
  ClickAt({60, 60});
  PumpFor(milliseconds(1500));
  RECT client;
  GetClientRect(above.Handle(), &client);
  POINT centre{client.right / 2, client.bottom / 2};
  ClientToScreen(above.Handle(), &centre);
  ScreenShot stacked;
  stacked.Save("desktop-playback-window-above");
  EXPECT_TRUE(Near(stacked.Pixel(centre.x, centre.y), kGreen)) << Describe(stacked.Pixel(centre.x, centre.y));
  EXPECT_TRUE(Near(stacked.Pixel(40, 40), kRed)) << Describe(stacked.Pixel(40, 40));

  // Full screen (the screen saver's mode) covers everything, that window too.
  PostMessageW(settings, kScreenSaverCommand, 0, 0);
  PumpFor(milliseconds(2000));
  ScreenShot full;
  full.Save("full-screen");
  EXPECT_TRUE(Near(full.Pixel(centre.x, centre.y), kRed)) << Describe(full.Pixel(centre.x, centre.y));
  EXPECT_TRUE(Near(full.Pixel(512, full.Height() - 8), kRed))
      << "over the taskbar too: " << Describe(full.Pixel(512, full.Height() - 8));
  above.Hide();

  ExpectTheUsersLook("full screen");
  ASSERT_TRUE(EndSession(settings));
  EXPECT_TRUE(player.WaitForExit(10000));
  ExpectTheUsersLook("after");
}

TEST_F(DesktopPicture, PreviewShowsTheClipInTheSettingsWindow) {
  PlayerProcess player;
  ASSERT_TRUE(player.Started());
  HWND settings = WaitForDesktopPlayback();
  ASSERT_NE(settings, nullptr);
  PostMessageW(settings, kScreenSaverCommand, 1, 0);  // "configure": the settings window
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(settings); }, milliseconds(5000)));
  PumpFor(milliseconds(1500));
  HWND preview =
      FindWindowExW(FindWindowExW(settings, nullptr, L"Button", L"Preview"), nullptr, L"LumorixVideoWindow", nullptr);
  ASSERT_NE(preview, nullptr);
  RECT area;
  GetWindowRect(preview, &area);
  EXPECT_EQ(area.right - area.left, 400);
  EXPECT_EQ(area.bottom - area.top, 300);
  ScreenShot shot;
  shot.Save("settings-preview");
  for (POINT point :
       {POINT{area.left + 20, area.top + 20}, POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2},
        POINT{area.right - 20, area.bottom - 20}})
    EXPECT_TRUE(Near(shot.Pixel(point.x, point.y), kRed)) << Describe(shot.Pixel(point.x, point.y));
  EXPECT_EQ(DesktopColour(), kUserColour) << "windowed again: the desktop is the user's";
  ASSERT_TRUE(EndSession(settings));
  EXPECT_TRUE(player.WaitForExit(10000));
}

TEST_F(DesktopPicture, KilledPlayerLeavesTheUsersLookAndNothingToRestore) {
  {
    PlayerProcess player;
    ASSERT_TRUE(player.Started());
    ASSERT_NE(WaitForDesktopPlayback(), nullptr);
    player.Kill();
  }
  ExpectTheUsersLook("after kill -9");

  // The user changes the desktop colour; the next start must not put back an old one.
  constexpr COLORREF kNewColour = RGB(7, 8, 9);
  ASSERT_TRUE(SetUserDesktop(kUserWallpaper, kNewColour));
  PlayerProcess again;
  ASSERT_TRUE(again.Started());
  HWND settings = WaitForDesktopPlayback();
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(DesktopColour(), kNewColour);
  ASSERT_TRUE(EndSession(settings));
  EXPECT_TRUE(again.WaitForExit(10000));
  EXPECT_EQ(DesktopColour(), kNewColour);
  EXPECT_EQ(Wallpaper(), kUserWallpaper);
}

TEST_F(DesktopPicture, ASecondStartShowsTheRunningPlayersSettingsAndLeavesItsDesktop) {
  PlayerProcess first;
  ASSERT_TRUE(first.Started());
  HWND settings = WaitForDesktopPlayback();
  ASSERT_NE(settings, nullptr);

  PlayerProcess second;
  ASSERT_TRUE(second.Started());
  ASSERT_TRUE(second.WaitForExit(10000)) << "only one player may run";
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(settings); }, milliseconds(5000)))
      << "the running player shows its settings window";
  EXPECT_EQ(FindWindowW(L"TLumorixMainForm", nullptr), settings);
  EXPECT_EQ(FindWindowExW(nullptr, settings, L"TLumorixMainForm", nullptr), nullptr) << "a second settings window";
  // Closed again, the running player is back on the desktop.
  PostMessageW(settings, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(settings) && DesktopHostShown(); }, milliseconds(5000)));
  ExpectTheUsersLook("back on the desktop");

  ASSERT_TRUE(EndSession(settings));
  EXPECT_TRUE(first.WaitForExit(10000));
  ExpectTheUsersLook("after");
}
