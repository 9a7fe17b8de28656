// The real Lumorix.exe in its own process: what a user sees at start and at log-off.
#include <gtest/gtest.h>

#include "common/settings_layout.h"
#include "platform/text.h"
#include "tests/support/gui_test.h"
#include "tests/support/player_process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/screen_capture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

struct BoxContents {
  std::wstring text;
  bool hasIcon = false;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM data) {
  auto& contents = *reinterpret_cast<BoxContents*>(data);
  wchar_t className[32] = {};
  GetClassNameW(child, className, 32);
  if (std::wstring(className) != L"Static") return TRUE;
  if (GetWindowLongW(child, GWL_STYLE) & SS_ICON)
    contents.hasIcon = true;
  else if (!WindowText(child).empty())
    contents.text = WindowText(child);
  return TRUE;
}

}  // namespace

TEST(PlayerProcess, MissingBalanceShowsTheErrorBoxAndKeepsTheSettingsWindowUp) {
  SeedInstallerDefaults();
  DeleteSetting(kAudioKey, "Balance");
  PlayerProcess player;
  ASSERT_TRUE(player.Started());
  HWND box = WaitForWindow(L"#32770", L"Lumorix - settings", milliseconds(20000));
  ASSERT_NE(box, nullptr);
  BoxContents contents;
  EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&contents));
  EXPECT_EQ(contents.text, L"Failed to get data for 'Balance'.");
  EXPECT_TRUE(contents.hasIcon);
  PostMessageW(box, WM_COMMAND, IDOK, 0);

  HWND settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(10000));
  ASSERT_NE(settings, nullptr);
  PumpFor(milliseconds(2500));  // past both start-up timers
  EXPECT_TRUE(IsWindowVisible(settings));
}

TEST(PlayerProcess, GoesToTheTrayAfterOneSecondAndSavesAtLogOff) {
  SeedInstallerDefaults();
  PlayerProcess player;
  ASSERT_TRUE(player.Started());
  HWND settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(20000));
  ASSERT_NE(settings, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(settings); }, milliseconds(10000)));
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(settings); }, milliseconds(10000)));

  DWORD_PTR answer = 0;
  LRESULT sent = SendMessageTimeoutW(settings, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
  EXPECT_NE(sent, 0) << GetLastError();
  EXPECT_EQ(answer, 1u);
  EXPECT_TRUE(player.WaitForExit(10000));
  // The installer's 10000 is beyond the volume slider; the save writes the clamped value.
  EXPECT_EQ(ReadIntegerSetting(kAudioKey, "Volume"), 0);
}

namespace {

BOOL CALLBACK CountShownPictures(HWND child, LPARAM data) {
  wchar_t className[32] = {};
  GetClassNameW(child, className, 32);
  if (std::wstring(className) == L"LumorixPicture" && (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
    ++*reinterpret_cast<int*>(data);
  return TRUE;
}

}  // namespace

TEST(PlayerProcess, StoredSkinIsAppliedAtStart) {
  SeedInstallerDefaults();
  const std::string bin = std::string(LUMORIX_BUILD_DIR) + "/bin/";
  WriteSetting(kSettingsKey, "Skin", EncodeString(WideToAnsi(WindowsPath(bin + "Skins/Radorur.skn/Skin.ini"))));
  PlayerProcess player;
  ASSERT_TRUE(player.Started());
  HWND settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(20000));
  ASSERT_NE(settings, nullptr);

  // The settings load applies the stored skin: the seven pictures instead of the plain tool bar.
  int pictures = 0;
  EXPECT_TRUE(PumpUntil(
      [&] {
        pictures = 0;
        EnumChildWindows(settings, CountShownPictures, reinterpret_cast<LPARAM>(&pictures));
        return pictures == 7;
      },
      milliseconds(10000)))
      << pictures;
  player.Kill();
}

// The window answers within `limit`, as a window whose thread is not stuck does.
static bool Answers(HWND window, milliseconds limit) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(limit.count()), &result) != 0;
}

TEST(PlayerProcess, MovesOnFromAClipWithSoundAndKeepsAnswering) {
  SeedInstallerDefaults();
  WriteSetting(kAudioKey, "PlayListVisible", EncodeInteger(0));
  WritePlayerPlayList({"tone3.avi", "blue.avi", "tone3.avi"});
  PlayerProcess player;
  ASSERT_TRUE(player.Started());
  HWND settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(20000));
  ASSERT_NE(settings, nullptr);
  // Green with sound for three seconds (five, with the resume step's seek to
  // the saved second 0 at two), blue without for two, then green again. A
  // graph call may hold the window up for its bounded wait, never longer.
  std::vector<char> seen;
  auto end = std::chrono::steady_clock::now() + milliseconds(20000);
  while (std::chrono::steady_clock::now() < end && seen.size() < 3) {
    ASSERT_TRUE(Answers(settings, milliseconds(4000))) << "the player stopped answering";
    COLORREF centre = ScreenShot().Pixel(512, 300);
    char colour = Near(centre, RGB(0, 128, 0), 60) ? 'g' : Near(centre, RGB(0, 0, 255)) ? 'b' : 0;
    if (colour && (seen.empty() || seen.back() != colour)) seen.push_back(colour);
    PumpFor(milliseconds(200));
  }
  if (std::string(seen.begin(), seen.end()) != "gbg") ScreenShot().Save("moves-on-from-sound");
  EXPECT_EQ(std::string(seen.begin(), seen.end()), "gbg") << "the desktop did not follow the playlist";
  EXPECT_EQ(FindWindowW(L"#32770", L"Lumorix - settings"), nullptr) << "an error box";
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(settings, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
  EXPECT_TRUE(player.WaitForExit(10000));
}
