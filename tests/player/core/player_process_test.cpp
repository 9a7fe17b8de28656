// The real Lumorix.exe in its own process: what a user sees at start and at log-off.
#include <gtest/gtest.h>

#include "common/settings_layout.h"
#include "platform/handle.h"
#include "tests/support/gui_test.h"
#include "tests/support/registry_fixture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

class PlayerProcess {
 public:
  PlayerProcess() {
    std::wstring exe = WindowsPath(LUMORIX_BUILD_DIR "/bin/Lumorix.exe");
    std::wstring folder = WindowsPath(LUMORIX_BUILD_DIR "/bin");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    started_ = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                              &startup, &process);
    if (started_) {
      process_ = UniqueHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
  }
  ~PlayerProcess() {
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.Get(), 1);
      WaitForSingleObject(process_.Get(), 5000);
    }
  }
  bool Started() const { return started_; }
  bool WaitForExit(DWORD milliseconds) { return WaitForSingleObject(process_.Get(), milliseconds) == WAIT_OBJECT_0; }

 private:
  bool started_ = false;
  UniqueHandle process_;
};

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, milliseconds timeout) {
  HWND found = nullptr;
  PumpUntil([&] { return (found = FindWindowW(className, title)) != nullptr; }, timeout);
  return found;
}

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
