// The uninstaller's window and its removal steps in this process.
#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/settings_layout.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/shell_link.h"
#include "platform/uninstall_entry.h"
#include "platform/user_files.h"
#include "platform/text.h"
#include "tests/setup/setup_process.h"
#include "tests/support/gui_test.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/unix_side.h"
#include "ui/application.h"
#include "uninstall/removal.h"
#include "uninstall/uninstall_form.h"

using namespace lumorix;
using namespace lumorix::uninstall;
using std::chrono::milliseconds;

namespace {

struct RecordedSteps {
  std::vector<std::string> calls;
  bool logMissing = false;
  bool playerStays = false;
  PartResult machine{kMachineRemoved, L""};
  std::vector<std::wstring> told;
  RemovalSteps Steps() {
    return {[this] {
              calls.push_back("readLog");
              if (logMissing) throw std::runtime_error("Cannot read Uninstall.log in X; nothing was removed");
              return std::vector<std::wstring>{L"a"};
            },
            [this] {
              calls.push_back("endPlayer");
              return !playerStays;
            },
            [this] {
              calls.push_back("removeForMachine");
              return machine;
            },
            [this] { calls.push_back("removeForUser"); }, [this](const std::wstring& text) { told.push_back(text); }};
  }
};

void WriteMachine(const std::string& key, const std::string& name, const RawValue& value) {
  ASSERT_TRUE(RegistryKey::Create(HKEY_LOCAL_MACHINE, key).Write(name, value)) << name;
}

void WriteText(const std::wstring& path, const std::string& text) {
  std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  file << text;
}

}  // namespace

TEST(UninstallWindow, PlacesItsControlsAsDesigned) {
  RecordedSteps steps;
  TUninstallForm form(steps.Steps());
  EXPECT_EQ(form.Text(), L"Uninstall Lumorix");
  EXPECT_EQ(form.Left(), 260);
  EXPECT_EQ(form.Top(), 144);
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 545);
  EXPECT_EQ(client.bottom, 96);
  EXPECT_FALSE(GetWindowLongW(form.Handle(), GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(form.PMain.TopColor(), RGB(192, 192, 192));
  EXPECT_EQ(form.PMain.BottomColor(), RGB(255, 255, 255));
  EXPECT_EQ(form.LQuestion.Text(), L"Do You really whant to remove Lumorix?");
  EXPECT_EQ(form.PBProgress.Width(), 521);
  EXPECT_EQ(form.PBProgress.Top(), 32);
  EXPECT_EQ(form.BtUninstall.Text(), L"Uninstall");
  EXPECT_EQ(form.BtUninstall.Top(), 64);
}

TEST(UninstallWindow, RemovesInOrderThenClosesOnItsOwn) {
  RecordedSteps steps;
  TUninstallForm form(steps.Steps());
  form.Show();
  form.BtUninstallClick();
  EXPECT_EQ(steps.calls, (std::vector<std::string>{"readLog", "endPlayer", "removeForMachine", "removeForUser"}));
  ASSERT_EQ(steps.told.size(), 1u);
  EXPECT_NE(steps.told[0].find(L"other users"), std::wstring::npos) << "whose settings stay is said";
  EXPECT_EQ(form.LQuestion.Text(), L"Complite.");
  EXPECT_EQ(form.PBProgress.Position(), 100);
  EXPECT_TRUE(form.Removed());
  EXPECT_TRUE(test::PumpUntil([] { return ui::Application::Instance().Terminated(); }, milliseconds(2000)));
  ui::Application::Instance().ClearTermination();
}

TEST(UninstallWindow, AMissingLogRemovesNothingAndSaysWhy) {
  test::ErrorRecorder errors;
  RecordedSteps steps;
  steps.logMissing = true;
  TUninstallForm form(steps.Steps());
  form.Show();
  SendMessageW(form.BtUninstall.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(steps.calls, std::vector<std::string>{"readLog"});
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_EQ(errors.Boxes()[0].text, L"Cannot read Uninstall.log in X; nothing was removed.");
  EXPECT_FALSE(form.Removed());
}

TEST(UninstallWindow, APlayerThatDoesNotEndStopsTheRemovalBeforeAnything) {
  RecordedSteps steps;
  steps.playerStays = true;
  TUninstallForm form(steps.Steps());
  form.Show();
  form.BtUninstallClick();
  EXPECT_EQ(steps.calls, (std::vector<std::string>{"readLog", "endPlayer"}));
  ASSERT_EQ(steps.told.size(), 1u);
  EXPECT_NE(steps.told[0].find(L"Nothing was removed"), std::wstring::npos);
  EXPECT_FALSE(form.Removed());
  EXPECT_TRUE(form.BtUninstall.Enabled());
}

TEST(UninstallWindow, WithoutTheAdministratorsPartNothingOfTheUsersGoesEither) {
  RecordedSteps steps;
  steps.machine = {kMachineNothingRemoved,
                   L"removing Lumorix needs an administrator's permission, which was not given"};
  TUninstallForm form(steps.Steps());
  form.Show();
  form.BtUninstallClick();
  EXPECT_EQ(steps.calls, (std::vector<std::string>{"readLog", "endPlayer", "removeForMachine"}));
  ASSERT_EQ(steps.told.size(), 1u);
  EXPECT_EQ(steps.told[0], L"Nothing was removed: " + steps.machine.why + L".");
  EXPECT_TRUE(form.BtUninstall.Enabled());
  EXPECT_FALSE(form.Removed());
}

TEST(Removal, ReadsTheLogOfItsFolderAndDeletesOnlyInsideIt) {
  const std::wstring folder = L"C:\\RemovalTest\\";
  const std::wstring stranger = L"C:\\RemovalStranger\\";
  std::filesystem::create_directories(std::filesystem::path(folder + L"Sub"));
  std::filesystem::create_directories(std::filesystem::path(stranger));
  WriteText(folder + L"Sub\\one.txt", "1");
  WriteText(folder + L"two.txt", "2");
  WriteText(folder + L"Uninstall.exe", "kept for the copy that removes the folder");
  WriteText(stranger + L"three.txt", "3");
  WriteText(stranger + L"four.txt", "4");
  // A folder of the installation that leads to the stranger's (a junction
  // on Windows; Wine's Unix links stand in), and a read-only file of ours.
  ASSERT_TRUE(test::MakeUnixLink(stranger, folder + L"Linked"));
  WriteText(folder + L"locked.txt", "5");
  SetFileAttributesW((folder + L"locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  WriteText(folder + L"Uninstall.log",
            "Sub\\one.txt\r\nmissing.txt\r\nC:\\RemovalTest\\two.txt\r\n..\\RemovalStranger\\three.txt\r\n"
            "C:\\RemovalStranger\\three.txt\r\nLinked\\four.txt\r\nlocked.txt\r\nCON\r\n.. \\three.txt\r\n"
            "Uninstall.exe\r\n");
  std::vector<std::wstring> files = ReadUninstallLog(folder);
  EXPECT_EQ(files.size(), 10u);
  EXPECT_FALSE(RemoveFiles(files, folder, InstallScope::AllUsers))
      << "what lies behind the link stays, so not all is gone";
  EXPECT_FALSE(test::Exists(folder + L"Sub\\one.txt"));
  EXPECT_FALSE(test::Exists(folder + L"Sub")) << "an emptied folder goes";
  EXPECT_FALSE(test::Exists(folder + L"two.txt"));
  EXPECT_TRUE(test::Exists(folder + L"Uninstall.exe"));
  EXPECT_TRUE(test::Exists(stranger + L"three.txt")) << "outside the folder: not ours";
  EXPECT_TRUE(test::Exists(stranger + L"four.txt")) << "reached through a link: not ours";
  EXPECT_FALSE(test::Exists(folder + L"locked.txt"));
  ASSERT_TRUE(test::RemoveUnixLink(folder + L"Linked"));
  DeleteFileW((folder + L"Uninstall.log").c_str());
  EXPECT_THROW(ReadUninstallLog(folder), std::runtime_error);
  std::filesystem::remove_all(std::filesystem::path(folder));
  std::filesystem::remove_all(std::filesystem::path(stranger));
}

TEST(Removal, TheMachinesEntriesGoUnappliedAndNoLinkLeadsTheDeletionElsewhere) {
  test::DeleteSettingsTree();
  for (const SettingsDefault& value : InstallerDefaults(true)) WriteMachine(value.key, value.name, value.value);
  WriteMachine(kSettingsKey, "Language", EncodeString("C:\\x.ini"));
  WriteMachine(kSettingsKey, "Skin", EncodeString("C:\\Skin.ini"));
  WriteMachine(kSettingsKey, "OldScreenSaver", EncodeString("C:\\windows\\system32\\old.scr"));
  // The switches of the automatic pause, which only the player writes.
  for (const char* value : {kPauseWhenCovered, kPauseOnBattery, kPauseWhenLocked, kPauseWhenRemote})
    WriteMachine(kSettingsKey, value, EncodeInteger(0));
  // An older player's copy of the desktop look in the machine's key, which
  // any user could have written while it was open to all: never applied.
  WriteMachine(kSettingsKey, "DesktopPlaybackColor", EncodeInteger(0x00405060));
  WriteMachine(kSettingsKey, "DesktopPlaybackHasWallPaper", EncodeInteger(0));
  WriteMachine(kSettingsKey, "DesktopPlaybackWallPaper", EncodeString(""));
  // A subkey turned into a link to another key, which must survive.
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, Widen(kColorKey).c_str());
  WriteMachine("Software\\LumorixLinkTarget", "Kept", EncodeString("yes"));
  ASSERT_TRUE(test::MakeMachineRegistryLink(kColorKey, "Software\\LumorixLinkTarget"));
  COLORREF before = GetSysColor(COLOR_BACKGROUND);

  RemoveMachineRegistryEntries();

  for (const char* key : {kAudioKey, kColorKey, kVideoKey, kPlayListKey})
    EXPECT_FALSE(RegistryKey::Open(HKEY_LOCAL_MACHINE, key, KEY_READ)) << key;
  for (const char* value :
       {"Language", "Replace Screen Saver", "Skin", "StartUp", "DesktopPlaybackColor", "DesktopPlaybackHasWallPaper",
        "DesktopPlaybackWallPaper", kPauseWhenCovered, kPauseOnBattery, kPauseWhenLocked, kPauseWhenRemote})
    EXPECT_FALSE(test::ReadSetting(kSettingsKey, value, HKEY_LOCAL_MACHINE)) << value;
  EXPECT_TRUE(test::ReadSetting(kSettingsKey, "OldScreenSaver", HKEY_LOCAL_MACHINE));
  EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), before) << "the machine's desktop look was applied";
  EXPECT_TRUE(test::ReadSetting("Software\\LumorixLinkTarget", "Kept", HKEY_LOCAL_MACHINE))
      << "deleted through the link";
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\LumorixLinkTarget");
  test::DeleteSettingsTree();
}

TEST(Removal, TheUsersOwnGoesInTheirProfileAndTheirScreenSaverComesBack) {
  const std::wstring copy = platform::LocalAppDataFolder(true) + L"\\Lumorix\\LumorixSS.scr";
  CreateDirectoryW((platform::LocalAppDataFolder(true) + L"\\Lumorix").c_str(), nullptr);
  WriteText(copy, "screen saver");
  const std::wstring startUp = test::StartUpFolder() + L"\\Lumorix.lnk";
  WriteText(startUp, "link");
  const std::wstring playList = platform::UserDataFolder(true) + L"Lumorix.Lumorixpl";
  WriteText(playList, std::string(512, '\0'));
  const std::wstring monitorList = platform::UserDataFolder() + L"Lumorix.DISPLAY_TST0002-0123456789ABCDEF.Lumorixpl";
  WriteText(monitorList, std::string(512, '\0'));
  test::SeedInstallerDefaults();
  test::WriteSetting(kSettingsKey, "OldScreenSaver", EncodeString("C:\\windows\\system32\\old.scr"));
  RegistryKey desktop = RegistryKey::Create(HKEY_CURRENT_USER, "Control Panel\\Desktop");
  ASSERT_TRUE(desktop.Write("SCRNSAVE.EXE", EncodeString(Narrow(copy))));
  RegistryKey user = RegistryKey::Create(HKEY_CURRENT_USER, kSettingsKey);
  ASSERT_TRUE(user.Write("DesktopPlaybackColor", EncodeInteger(0x00102030)));
  ASSERT_TRUE(user.Write("DesktopPlaybackHasWallPaper", EncodeInteger(0)));
  user.Close();
  COLORREF before = GetSysColor(COLOR_BACKGROUND);

  RemoveUsersOwn(L"C:\\Program Files\\Vantrel\\Lumorix\\", InstallScope::AllUsers);

  EXPECT_FALSE(test::Exists(copy));
  EXPECT_FALSE(test::Exists(startUp));
  EXPECT_FALSE(test::Exists(playList));
  EXPECT_FALSE(test::Exists(monitorList)) << "each monitor's own list goes too";
  EXPECT_FALSE(test::Exists(platform::UserDataFolder()));
  EXPECT_EQ(DecodeString("SCRNSAVE.EXE", desktop.Read("SCRNSAVE.EXE")), "C:\\windows\\system32\\old.scr");
  EXPECT_FALSE(RegistryKey::Open(HKEY_CURRENT_USER, kSettingsKey, KEY_READ)) << "this user's settings go";
  // The look this user's dead player kept is given back.
  EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), static_cast<COLORREF>(0x00102030));
  INT element = COLOR_BACKGROUND;
  SetSysColors(1, &element, &before);

  // A setting that names another screen saver is the user's and stays.
  ASSERT_TRUE(desktop.Write("SCRNSAVE.EXE", EncodeString("C:\\windows\\system32\\mine.scr")));
  RemoveUsersOwn(L"C:\\Program Files\\Vantrel\\Lumorix\\", InstallScope::AllUsers);
  EXPECT_EQ(DecodeString("SCRNSAVE.EXE", desktop.Read("SCRNSAVE.EXE")), "C:\\windows\\system32\\mine.scr");
  (void)desktop.DeleteValue("SCRNSAVE.EXE");
  test::DeleteSettingsTree();
}

TEST(Removal, TheSharedScreenSaverStaysWhileAnotherSignedInUserNamesIt) {
  const std::wstring copy = platform::SystemFolder() + L"\\LumorixSS.scr";
  WriteText(copy, "screen saver");
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_USERS, L"S-1-5-21-0-0-0-1999\\Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &created, nullptr),
            ERROR_SUCCESS);
  RegistryKey other(created);
  ASSERT_TRUE(other.Write("SCRNSAVE.EXE", EncodeString(Narrow(platform::SystemFolder()) + "\\LUMORI~1.SCR")));
  RemoveSharedScreenSaver();
  EXPECT_TRUE(test::Exists(copy));
  ASSERT_TRUE(other.Write("SCRNSAVE.EXE", EncodeString("C:\\windows\\system32\\theirs.scr")));
  RemoveSharedScreenSaver();
  EXPECT_FALSE(test::Exists(copy));
  other.Close();
  RegDeleteTreeW(HKEY_USERS, L"S-1-5-21-0-0-0-1999");
}

TEST(Removal, AUsersInstallationTakesTheirShortcutsAndNeverEveryones) {
  (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring folder = L"C:\\UserRemoval\\";
  std::filesystem::create_directories(std::filesystem::path(folder));
  WriteText(folder + L"Lumorix.exe", "player");
  std::vector<std::wstring> links;
  for (const std::wstring& programs : {platform::UserProgramsFolder(), platform::CommonProgramsFolder()}) {
    std::filesystem::create_directories(std::filesystem::path(programs + L"\\Vantrel\\Lumorix"));
    links.push_back(programs + L"\\Vantrel\\Lumorix\\Lumorix.lnk");
    WriteText(links.back(), "link");
  }
  WriteText(folder + L"Uninstall.log", "Lumorix.exe\r\n" + Narrow(links[0]) + "\r\n" + Narrow(links[1]) + "\r\n");
  EXPECT_TRUE(RemoveFiles(ReadUninstallLog(folder), folder, InstallScope::CurrentUser));
  EXPECT_FALSE(test::Exists(folder + L"Lumorix.exe"));
  EXPECT_FALSE(test::Exists(links[0]));
  EXPECT_FALSE(test::Exists(platform::UserProgramsFolder() + L"\\Vantrel")) << "the user's emptied folders go";
  EXPECT_TRUE(test::Exists(links[1])) << "every user's shortcut is no user's own to delete";
  std::filesystem::remove_all(std::filesystem::path(platform::CommonProgramsFolder() + L"\\Vantrel"));
  std::filesystem::remove_all(std::filesystem::path(folder));
}

TEST(Removal, WhileTheUsersOtherInstallationStaysTheirSettingsListAndItsShortcutsStay) {
  (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring machine = L"C:\\Program Files\\Vantrel\\Lumorix\\";
  const std::wstring own = L"C:\\UsersOwnLumorix\\";
  std::filesystem::create_directories(std::filesystem::path(own));
  WriteText(own + L"Lumorix.exe", "the user's own player");
  RegistryKey entry = RegistryKey::Create(HKEY_CURRENT_USER, platform::kUninstallKey);
  ASSERT_TRUE(entry.Write("InstallLocation", EncodeString(Narrow(own))));
  test::SeedInstallerDefaults();
  const std::wstring playList = platform::UserDataFolder(true) + L"Lumorix.Lumorixpl";
  WriteText(playList, std::string(512, '\0'));
  const std::wstring menu = platform::UserProgramsFolder() + L"\\Vantrel\\Lumorix";
  std::filesystem::create_directories(std::filesystem::path(menu));
  (void)CreateShortcut(own + L"Lumorix.exe", L"", own, menu + L"\\Lumorix.lnk");
  const std::wstring startUp = test::StartUpFolder() + L"\\Lumorix.lnk";

  // The machine's installation goes; the start-up shortcut to its player goes with it.
  (void)CreateShortcut(machine + L"Lumorix.exe", L"", machine, startUp);
  RemoveUsersOwn(machine, InstallScope::AllUsers);
  EXPECT_FALSE(test::Exists(startUp));
  EXPECT_TRUE(test::Exists(playList));
  EXPECT_TRUE(test::Exists(menu + L"\\Lumorix.lnk")) << "the user's own installation's shortcut";
  EXPECT_TRUE(RegistryKey::Open(HKEY_CURRENT_USER, kAudioKey, KEY_READ)) << "its player's settings";
  // One to the player that stays, stays.
  (void)CreateShortcut(own + L"Lumorix.exe", L"", own, startUp);
  RemoveUsersOwn(machine, InstallScope::AllUsers);
  EXPECT_TRUE(test::Exists(startUp));

  // The user's own installation, the last one: everything of theirs goes, as ever.
  entry.Close();
  ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, Widen(platform::kUninstallKey).c_str()), ERROR_SUCCESS);
  RemoveUsersOwn(own, InstallScope::CurrentUser);
  EXPECT_FALSE(test::Exists(startUp));
  EXPECT_FALSE(test::Exists(playList));
  EXPECT_FALSE(RegistryKey::Open(HKEY_CURRENT_USER, kSettingsKey, KEY_READ));
  std::filesystem::remove_all(std::filesystem::path(platform::UserProgramsFolder() + L"\\Vantrel"));
  std::filesystem::remove_all(std::filesystem::path(own));
  test::DeleteSettingsTree();
}
