// On 64-bit Windows (a 64-bit Wine prefix): the screen saver must be where
// the 64-bit system starts it, and every program of the product must meet in
// the same settings key; for the 32-bit programs under WoW64, with its
// file-system and registry redirection, and for the x64 ones without.
#include "common/settings_layout.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "player/core/screen_saver_files.h"
#include "tests/player/core/player_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/screen_saver_setup.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

const std::wstring kUsersScreenSaver = L"C:\\windows\\system32\\ssbubbles.scr";

bool OnWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::wstring WindowsFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemWindowsDirectoryW(folder, MAX_PATH);
  return folder;
}

// Runs `command` in the 64-bit command interpreter, as a 64-bit process of
// the system would; its exit code.
std::optional<DWORD> Native(const std::wstring& command) {
#ifdef _WIN64
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  std::wstring cmd = std::wstring(system) + L"\\cmd.exe";
#else
  std::wstring cmd = WindowsFolder() + L"\\Sysnative\\cmd.exe";
#endif
  ChildProcess process(cmd, L"cmd.exe /c " + command + L" >nul 2>&1");
  return process.WaitForExit(milliseconds(20000));
}

bool NativeFinds(const std::wstring& path) { return Native(L"if exist " + path + L" (exit 0) else (exit 1)") == 0u; }

// The system's screen-saver start, reduced to its essence: a 64-bit process
// runs what the setting names with the configure switch. The player's
// settings window coming up shows that the screen saver ran and found it.
bool NativeStartShowsTheSettings(const std::wstring& setting, TLumorixMainForm& form) {
  form.Hide();
  return Native(setting + L" /c") == 0u && form.Visible();
}

// A standard user's copy into the system folder is refused by Windows. Wine
// lets everyone write there, so the refusal is a stand-in.
bool RefuseSystemFolder(const std::wstring& from, const std::wstring& to) {
  if (to == SystemFolderCopy()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return CopyFileW(from.c_str(), to.c_str(), TRUE) != FALSE;
}

class Wow64 : public PlayerTest {
 protected:
  void SetUp() override {
#ifdef _WIN64
    GTEST_SKIP() << "WoW64 redirection concerns the 32-bit programs; the x64 test bed has none";
#endif
    ASSERT_TRUE(OnWow64()) << "the 64-bit test bed is not 64-bit";
    PlayerTest::SetUp();
  }
  void TearDown() override {
    UseScreenSaverCopy(nullptr);
    PlayerTest::TearDown();
  }
  UserScreenSaver user{kUsersScreenSaver};
  ScreenSaverWorkFolder work;
};

// The x64 player on 64-bit Windows: no redirection at all.
class NativeX64 : public PlayerTest {
 protected:
  void SetUp() override {
#ifndef _WIN64
    GTEST_SKIP() << "the x64 programs' case";
#endif
    PlayerTest::SetUp();
  }
  UserScreenSaver user{kUsersScreenSaver};
  ScreenSaverWorkFolder work;
};

}  // namespace

TEST_F(NativeX64, TheCopyLandsInTheRealSystemFolderWhereTheSystemStartsIt) {
  TLumorixMainForm& form = StartPlayer();
  form.CBRSS.SetChecked(true);
  wchar_t system[MAX_PATH] = {}, wow64[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  ASSERT_GT(GetSystemWow64DirectoryW(wow64, MAX_PATH), 0u) << "the test bed is not 64-bit";
  const std::wstring copy = std::wstring(system) + L"\\LumorixSS.scr";
  EXPECT_EQ(ScreenSaverSetting(), copy);
  EXPECT_EQ(FileBytes(copy), FileBytes(ScreenSaverProgram()));
  EXPECT_FALSE(FileExists(std::wstring(wow64) + L"\\LumorixSS.scr")) << "in the folder 32-bit programs see";
  EXPECT_TRUE(NativeFinds(copy));
  EXPECT_TRUE(NativeStartShowsTheSettings(copy, form));
  form.CBRSS.SetChecked(false);
  EXPECT_FALSE(NativeFinds(copy));
}

TEST_F(NativeX64, TheSettingsKeyIsInThe64BitView) {
  RegistryKey settings = RegistryKey::Create(HKEY_LOCAL_MACHINE, kSettingsKey);
  ASSERT_TRUE(settings.Write("ViewProbe", EncodeString("64")));
  const std::wstring query = L"reg.exe query HKLM\\Software\\Vantrel\\Lumorix /v ViewProbe";
  EXPECT_EQ(Native(query + L" /reg:64"), 0u);
  EXPECT_EQ(Native(query + L" /reg:32"), 1u) << "nothing of it under WOW6432Node";
  EXPECT_TRUE(settings.DeleteValue("ViewProbe"));
}

TEST_F(Wow64, TickingPutsTheScreenSaverWhereThe64BitSystemStartsIt) {
  TLumorixMainForm& form = StartPlayer();
  form.CBRSS.SetChecked(true);
  std::optional<std::wstring> setting = ScreenSaverSetting();
  ASSERT_TRUE(setting.has_value());
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_EQ(*setting, std::wstring(system) + L"\\LumorixSS.scr");
  // This 32-bit process is redirected to SysWOW64: the 64-bit system folder
  // holds the copy, the folder a 32-bit process sees does not.
  EXPECT_FALSE(FileExists(*setting)) << "copied where only 32-bit processes look";
  EXPECT_TRUE(NativeFinds(*setting));
  EXPECT_EQ(FileBytes(SystemFolderCopy()), FileBytes(ScreenSaverProgram()));
  EXPECT_TRUE(NativeStartShowsTheSettings(*setting, form));

  form.CBRSS.SetChecked(false);
  EXPECT_EQ(ScreenSaverSetting(), kUsersScreenSaver);
  EXPECT_FALSE(NativeFinds(*setting)) << "the undo removes the copy";
}

TEST_F(Wow64, AStandardUsersCopyGoesToTheirOwnFolder) {
  UseScreenSaverCopy(RefuseSystemFolder);
  TLumorixMainForm& form = StartPlayer();
  form.CBRSS.SetChecked(true);
  std::optional<std::wstring> setting = ScreenSaverSetting();
  ASSERT_TRUE(setting.has_value());
  EXPECT_NE(*setting, kUsersScreenSaver);
  EXPECT_EQ(setting->find(L' '), std::wstring::npos) << "a path with a blank is not safe to start";
  EXPECT_TRUE(NativeFinds(*setting));
  EXPECT_EQ(FileBytes(UserFolderCopy()), FileBytes(ScreenSaverProgram()));
  EXPECT_FALSE(FileExists(SystemFolderCopy()));
  EXPECT_TRUE(NativeStartShowsTheSettings(*setting, form));

  form.CBRSS.SetChecked(false);
  EXPECT_EQ(ScreenSaverSetting(), kUsersScreenSaver);
  EXPECT_FALSE(FileExists(UserFolderCopy()));
  EXPECT_FALSE(NativeFinds(*setting));
}

TEST_F(Wow64, AFailedCopyLeavesTheSettingAsItWas) {
  UseScreenSaverCopy([](const std::wstring&, const std::wstring&) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  });
  TLumorixMainForm& form = StartPlayer();
  form.CBRSS.SetChecked(true);
  EXPECT_EQ(ScreenSaverSetting(), kUsersScreenSaver);
  EXPECT_FALSE(FileExists(SystemFolderCopy()));
  EXPECT_FALSE(FileExists(UserFolderCopy()));
}

TEST_F(Wow64, TheSettingsKeyIsInThe32BitView) {
  RegistryKey settings = RegistryKey::Create(HKEY_LOCAL_MACHINE, kSettingsKey);
  ASSERT_TRUE(settings.Write("ViewProbe", EncodeString("32")));
  // Wine's 64-bit reg.exe: the value is under WOW6432Node, in the 32-bit
  // view, and not in the 64-bit one.
  const std::wstring query = L"reg.exe query HKLM\\Software\\Vantrel\\Lumorix /v ViewProbe";
  EXPECT_EQ(Native(L"reg.exe query HKLM\\Software\\Wow6432Node\\Vantrel\\Lumorix /v ViewProbe"), 0u);
  EXPECT_EQ(Native(query + L" /reg:32"), 0u);
  EXPECT_EQ(Native(query + L" /reg:64"), 1u);
  EXPECT_TRUE(settings.DeleteValue("ViewProbe"));

  // The player's own load and save go to the user's tree, which both views share.
  TLumorixMainForm& form = StartPlayer();
  form.LoadSaveOptions(false);
  EXPECT_EQ(Native(L"reg.exe query HKCU\\Software\\Vantrel\\Lumorix\\Audio /v Volume /reg:64"), 0u);
}
