// The real Lumorix.exe in its own process: what a user sees at start and at log-off.
#include <gtest/gtest.h>

#include "common/settings_layout.h"
#include "platform/text.h"
#include "tests/support/gui_test.h"
#include "tests/support/player_process.h"
#include "tests/support/registry_fixture.h"

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
