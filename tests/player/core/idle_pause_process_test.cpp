// The real Lumorix.exe playing on the desktop stops while a window of another
// program covers it or the session is locked, and goes on afterwards: read
// from its time read-out, which moves only while the clip runs.
#include <gtest/gtest.h>

#include <cwctype>

#include "common/settings_layout.h"
#include "tests/support/gui_test.h"
#include "tests/support/player_process.h"
#include "tests/support/registry_fixture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

// "hh:mm:ss / hh:mm:ss"
bool IsTimeReadOut(const std::wstring& text) {
  return text.size() == 19 && text.substr(8, 3) == L" / " && std::iswdigit(text[0]) && text[2] == L':';
}

BOOL CALLBACK FindReadOut(HWND child, LPARAM data) {
  if (!IsTimeReadOut(WindowText(child))) return TRUE;
  *reinterpret_cast<HWND*>(data) = child;
  return FALSE;
}

struct WatchSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindWatch(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<WatchSearch*>(data);
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (std::wstring(className) != L"LumorixVisibilityWatch" || process != search.process) return TRUE;
  search.found = window;
  return FALSE;
}

// The read-out changes within two and a half seconds: at least two seek-bar
// updates of a running clip.
bool Advances(HWND readOut) {
  const std::wstring before = WindowText(readOut);
  return PumpUntil([&] { return WindowText(readOut) != before; }, milliseconds(2500));
}

class CoverWindow {
 public:
  explicit CoverWindow(int show) {
    window_ = CreateWindowExW(0, L"STATIC", L"cover", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr, nullptr,
                              nullptr, nullptr);
    ShowWindow(window_, show);
  }
  ~CoverWindow() { DestroyWindow(window_); }
  CoverWindow(const CoverWindow&) = delete;
  CoverWindow& operator=(const CoverWindow&) = delete;

 private:
  HWND window_;
};

}  // namespace

TEST(PlayerProcessIdle, CoveredOrLockedDesktopStopsTheClipUntilItShowsAgain) {
  SeedInstallerDefaults();
  WriteSetting(kAudioKey, "PlayListVisible", EncodeInteger(0));
  WritePlayerPlayList({"long.avi"});
  PlayerProcess player;
  ASSERT_TRUE(player.Started());
  HWND settings = WaitForWindow(L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(20000));
  ASSERT_NE(settings, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(settings); }, milliseconds(10000)));
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(settings); }, milliseconds(10000)));
  HWND readOut = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] {
        EnumChildWindows(settings, FindReadOut, reinterpret_cast<LPARAM>(&readOut));
        return readOut != nullptr;
      },
      milliseconds(5000)));
  WatchSearch search{0, nullptr};
  GetWindowThreadProcessId(settings, &search.process);
  EnumWindows(FindWatch, reinterpret_cast<LPARAM>(&search));
  ASSERT_NE(search.found, nullptr);
  ASSERT_TRUE(Advances(readOut)) << "the clip plays on the desktop";

  {
    CoverWindow part(SW_SHOWNORMAL);
    EXPECT_TRUE(Advances(readOut)) << "a window over a part of the desktop";
    CoverWindow cover(SW_MAXIMIZE);
    PumpFor(milliseconds(1500));  // a check a second at the latest
    EXPECT_FALSE(Advances(readOut)) << "a maximised window over the desktop";
  }
  EXPECT_TRUE(Advances(readOut)) << "the desktop shows again";

  SendMessageW(search.found, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 1);
  PumpFor(milliseconds(500));
  EXPECT_FALSE(Advances(readOut)) << "the session is locked";
  SendMessageW(search.found, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 1);
  EXPECT_TRUE(Advances(readOut)) << "unlocked";

  DWORD_PTR answer = 0;
  SendMessageTimeoutW(settings, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
  EXPECT_TRUE(player.WaitForExit(10000));
  EXPECT_EQ(ReadIntegerSetting(kSettingsKey, kPauseWhenCovered), 1);
  EXPECT_EQ(ReadIntegerSetting(kSettingsKey, kPauseOnBattery), 1);
  EXPECT_EQ(ReadIntegerSetting(kSettingsKey, kPauseWhenLocked), 1);
  EXPECT_EQ(ReadIntegerSetting(kSettingsKey, kPauseWhenRemote), 1);
}
