// The real x64 LumorixSetup.exe over an installation of the 32-bit programs:
// the earlier installation is replaced and leaves nothing of its own behind,
// the user's settings and playlist stay, and the installed player plays the
// user's list. Wine cannot start 32-bit programs on this test bed, so the
// test lays that installation down itself, as the 32-bit installer did: its
// files and log in the same folder, its entry and machine settings in the
// 32-bit registry view, its shortcuts.
#include <windows.h>
#include <gtest/gtest.h>

#include "common/playlist_entry.h"
#include "common/settings_layout.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "tests/setup/installed_product.h"
#include "tests/support/gui_test.h"
#include "tests/support/media.h"
#include "tests/support/player_process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/screen_capture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

void WriteIn32BitView(const std::string& key, const std::string& name, const RawValue& value) {
  ASSERT_TRUE(RegistryKey::Create(HKEY_LOCAL_MACHINE, key, KEY_READ | KEY_WRITE | KEY_WOW64_32KEY).Write(name, value))
      << name;
}

std::string Bytes(const std::wstring& path) {
  std::vector<uint8_t> bytes = FileBytes(path);
  return {bytes.begin(), bytes.end()};
}

class Replacing32BitInstallation : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN64
    GTEST_SKIP() << "the x64 installer's case";
#endif
    (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ForgetInstallations();
    // The user's own settings, which both registry views share.
    SeedInstallerDefaults();
    WriteSetting(kAudioKey, "Volume", EncodeInteger(-1234));
    WriteSetting(kAudioKey, "PlayListVisible", EncodeInteger(0));

    // The 32-bit installation, in the folder its installer defaulted to as well.
    std::string log;
    for (const auto& [name, built] : PayloadFiles()) {
      WriteFileText(kDefaultFolder + Widen(name), "32-bit " + name);
      log += name + "\r\n";
    }
    playList_ = EncodePlayList({EntryFromFileName(WideToAnsi(Clip("blue.avi")))});
    WriteFileText(kDefaultFolder + L"Lumorix.Lumorixpl", std::string(playList_.begin(), playList_.end()));
    WriteFileText(kDefaultFolder + L"ReadMe.txt", "only the 32-bit programs had this");
    log += "ReadMe.txt\r\n";
    WriteFileText(kDefaultFolder + L"Uninstall.bat", "@ECHO an older version's");
    for (const std::wstring& link :
         {ProgramsFolder() + L"\\Vantrel\\Lumorix\\Lumorix.lnk",
          ProgramsFolder() + L"\\Vantrel\\Lumorix\\Uninstall.lnk", DesktopFolder() + L"\\Lumorix.lnk"}) {
      WriteFileText(link, "the 32-bit installation's shortcut");
      log += WideToAnsi(link) + "\r\n";
    }
    WriteFileText(kDefaultFolder + L"Uninstall.log", log);
    WriteIn32BitView(kUninstallKeyName, "DisplayName", EncodeString("Lumorix"));
    WriteIn32BitView(kUninstallKeyName, "InstallLocation", EncodeString(Narrow(kDefaultFolder)));
    WriteIn32BitView(kUninstallKeyName, "UninstallString", EncodeString(Narrow(kDefaultFolder) + "Uninstall.exe"));
    for (const SettingsDefault& value : InstallerDefaults(false)) WriteIn32BitView(value.key, value.name, value.value);
    WriteIn32BitView(kSettingsKey, "Skin", EncodeString("C:\\Users\\Public\\planted.ini"));
  }
  void TearDown() override {
    if (HWND player = FindWindowW(L"TLumorixMainForm", nullptr)) {
      DWORD processId = 0;
      GetWindowThreadProcessId(player, &processId);
      UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
      TerminateProcess(process.Get(), 1);
    }
    ForgetInstallations();
  }
  std::vector<uint8_t> playList_;
};

}  // namespace

TEST_F(Replacing32BitInstallation, LeavesNothingOfItsOwnAndTheUsersPlaylistPlays) {
  ChildProcess setup(SetupProgram(), L"/S", Build("bin"));
  ASSERT_EQ(setup.WaitForExit(milliseconds(120000)), std::optional<DWORD>(0));

  // The x64 installation in its place, registered where 64-bit programs are.
  for (const auto& [name, built] : PayloadFiles()) {
    if (name == "Lumorix.Lumorixpl") continue;
    EXPECT_EQ(FileBytes(kDefaultFolder + Widen(name)), FileBytes(built)) << name;
  }
  EXPECT_EQ(ReadString(kUninstallKeyName, "InstallLocation", KEY_WOW64_64KEY), Narrow(kDefaultFolder));
  // Nothing of the 32-bit one: no file only it had, no entry or machine key in its view.
  EXPECT_FALSE(Exists(kDefaultFolder + L"ReadMe.txt"));
  EXPECT_FALSE(Exists(kDefaultFolder + L"Uninstall.bat"));
  EXPECT_FALSE(KeyExists(kUninstallKeyName, KEY_WOW64_32KEY));
  EXPECT_FALSE(KeyExists(kSettingsKey, KEY_WOW64_32KEY));
  EXPECT_FALSE(KeyExists("Software\\Vantrel", KEY_WOW64_32KEY));
  std::vector<std::string> log = FileLines(kDefaultFolder + L"Uninstall.log");
  EXPECT_EQ(std::count(log.begin(), log.end(), "ReadMe.txt"), 0);
  // Its shortcuts are the new installation's now.
  EXPECT_EQ(ReadLink(ProgramsFolder() + L"\\Vantrel\\Lumorix\\Lumorix.lnk").target, kDefaultFolder + L"Lumorix.exe");
  EXPECT_EQ(ReadLink(DesktopFolder() + L"\\Lumorix.lnk").target, kDefaultFolder + L"Lumorix.exe");
  // The user's settings and list stay: the list is the new installation's seed.
  EXPECT_EQ(ReadIntegerSetting(kAudioKey, "Volume"), -1234);
  EXPECT_EQ(Bytes(kDefaultFolder + L"Lumorix.Lumorixpl"), std::string(playList_.begin(), playList_.end()));

  // The installed player takes the list over and plays its entry on the desktop.
  InstalledPlayer player(kDefaultFolder);
  ASSERT_TRUE(player.Started());
  EXPECT_TRUE(PumpUntil([] { return Near(ScreenShot().Pixel(40, 40), RGB(0, 0, 255)); }, milliseconds(20000)))
      << "the user's blue clip is not on the desktop";
  ScreenShot().Save("replaced-32-bit-installation-plays");
  EXPECT_EQ(player.PlayListCount(), 1);
  EXPECT_TRUE(player.EndAsAtLogOff());
  EXPECT_EQ(PlayListNames(UserPlayListFile()), std::vector<std::string>{"blue.avi"});
}
