// The real LumorixSetup.exe and Uninstall.exe installing for one user beside
// an installation for everyone, started as a user without the
// administrator's rights (the limited twin of the test's token; Wine gives
// every program the rights otherwise, and enforces none of them either way):
// the user's own folder, entry, shortcuts and player, its uninstall, and
// everyone's installation as it was before. Then the window's choice.
#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include <map>

#include "common/install_folder.h"
#include "common/settings_layout.h"
#include "platform/handle.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/registry_access.h"
#include "platform/shell_link.h"
#include "platform/text.h"
#include "tests/setup/installed_product.h"
#include "tests/setup/setup_process.h"
#include "tests/support/gui_test.h"
#include "tests/support/media.h"
#include "tests/support/player_process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/screen_capture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

constexpr auto kEntry = kUninstallKeyName;

std::wstring UserMenu() { return platform::UserProgramsFolder() + L"\\Vantrel\\Lumorix"; }
std::wstring CommonMenu() { return platform::CommonProgramsFolder() + L"\\Vantrel\\Lumorix"; }

std::string Stored(const char* key, const char* name) {
  std::optional<RawValue> value = RegistryKey::Open(HKEY_LOCAL_MACHINE, key, KEY_READ).Read(name);
  if (!value) return "none";
  return std::to_string(value->type) + ":" + std::string(value->data.begin(), value->data.end());
}

// What an installation for everyone has that nothing of one user's may change.
struct MachineState {
  std::map<std::wstring, std::vector<uint8_t>> files;
  std::map<std::string, std::string> values;  // type and bytes, or "none"
  std::vector<std::wstring> links;

  static MachineState Now() {
    MachineState state;
    for (const auto& [name, built] : PayloadFiles()) state.files[Widen(name)] = FileBytes(kDefaultFolder + Widen(name));
    state.files[L"Uninstall.log"] = FileBytes(kDefaultFolder + L"Uninstall.log");
    for (const SettingsDefault& value : InstallerDefaults(false))
      state.values[std::string(value.key) + "\\" + value.name] = Stored(value.key, value.name);
    for (const char* name : {"InstallLocation", "UninstallString", "DisplayVersion"})
      state.values[std::string(kEntry) + "\\" + name] = Stored(kEntry, name);
    for (const std::wstring& link :
         {CommonMenu() + L"\\Lumorix.lnk", CommonMenu() + L"\\Uninstall.lnk", DesktopFolder() + L"\\Lumorix.lnk"})
      state.links.push_back(ReadLink(link).target);
    return state;
  }
};

// The shell opens the link; the player it started is found by its window.
ChildProcess StartedFromShortcut(const std::wstring& link) {
  HWND window = nullptr;
  if (!OpenWithShell(link)) return ChildProcess(UniqueHandle(), 0);
  PumpUntil([&] { return (window = FindWindowW(L"TLumorixMainForm", nullptr)) != nullptr; }, milliseconds(30000));
  DWORD processId = 0;
  if (window) GetWindowThreadProcessId(window, &processId);
  return ChildProcess(UniqueHandle(OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId)), processId);
}

void EndEveryPlayer() {
  while (HWND player = FindWindowW(L"TLumorixMainForm", nullptr)) {
    DWORD processId = 0;
    GetWindowThreadProcessId(player, &processId);
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (!process) break;
    TerminateProcess(process.Get(), 1);
    WaitForSingleObject(process.Get(), 5000);
  }
}

}  // namespace

class InstallationForOneUser : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ForgetInstallations();
    // Everyone's installation first, by an administrator.
    ChildProcess machine(SetupProgram(), L"/S", Build("bin"));
    machineCode_ = machine.WaitForExit(milliseconds(120000));
    machine_ = MachineState::Now();
    // Then the user's own, as a user without the administrator's rights.
    ChildProcess user(SetupProgram(), L"/S /CurrentUser", Build("bin"), Rights::WithoutAdministrator);
    userCode_ = user.WaitForExit(milliseconds(120000));
  }
  static void TearDownTestSuite() {
    EndEveryPlayer();
    ForgetInstallations();
  }
  void TearDown() override { EndEveryPlayer(); }

  static std::optional<DWORD> machineCode_, userCode_;
  static MachineState machine_;
};
std::optional<DWORD> InstallationForOneUser::machineCode_;
std::optional<DWORD> InstallationForOneUser::userCode_;
MachineState InstallationForOneUser::machine_;

TEST_F(InstallationForOneUser, LandsInTheUsersOwnPlacesWithItsEntryInTheUsersHive) {
  ASSERT_EQ(machineCode_, std::optional<DWORD>(0));
  ASSERT_EQ(userCode_, std::optional<DWORD>(0));
  const std::wstring own = UserDefaultFolder();
  for (const auto& [name, built] : PayloadFiles()) {
    std::vector<uint8_t> expected = built.empty() ? std::vector<uint8_t>{} : FileBytes(built);
    EXPECT_EQ(FileBytes(own + Widen(name)), expected) << name;
  }
  EXPECT_EQ(ReadUserString(kEntry, "InstallLocation"), Narrow(own));
  EXPECT_EQ(ReadUserString(kEntry, "UninstallString"), "\"" + Narrow(own) + "Uninstall.exe\"");
  EXPECT_EQ(ReadUserString(kEntry, "DisplayVersion"), "1.1");
  EXPECT_EQ(ReadLink(UserMenu() + L"\\Lumorix.lnk").target, own + L"Lumorix.exe");
  EXPECT_EQ(ReadLink(UserMenu() + L"\\Uninstall.lnk").target, own + L"Uninstall.exe");
  EXPECT_EQ(ReadLink(platform::UserDesktopFolder() + L"\\Lumorix.lnk").target, own + L"Lumorix.exe");
  // Everyone's installation is as it was.
  MachineState now = MachineState::Now();
  EXPECT_TRUE(now.files == machine_.files);
  EXPECT_TRUE(now.values == machine_.values);
  EXPECT_EQ(now.links, machine_.links);
  EXPECT_EQ(machine_.links.front(), kDefaultFolder + L"Lumorix.exe");
}

TEST_F(InstallationForOneUser, ItsPlayerStartsFromTheUsersShortcutWithItsScreenSaverStartUpAndListInTheUsersPlaces) {
  ASSERT_EQ(userCode_, std::optional<DWORD>(0));
  const std::wstring own = UserDefaultFolder();
  const std::wstring systemCopy = platform::SystemFolder() + L"\\LumorixSS.scr";
  (void)DeleteFileW(systemCopy.c_str());
  WriteSetting(kSettingsKey, "Replace Screen Saver", EncodeInteger(1));
  WriteSetting(kSettingsKey, "StartUp", EncodeInteger(1));
  WritePlayerPlayList({"blue.avi"});

  InstalledPlayer player(StartedFromShortcut(UserMenu() + L"\\Lumorix.lnk"));
  ASSERT_TRUE(player.Started());
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, player.Id()));
  wchar_t image[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  ASSERT_TRUE(QueryFullProcessImageNameW(process.Get(), 0, image, &length));
  EXPECT_TRUE(SamePath(image, own + L"Lumorix.exe")) << Narrow(image);
  EXPECT_TRUE(PumpUntil([] { return Near(ScreenShot().Pixel(40, 40), RGB(0, 0, 255)); }, milliseconds(20000)))
      << "the user's blue clip is not on the desktop";
  ScreenShot().Save("installation-for-one-user-plays");

  // Its screen saver in the user's own folder, never every user's system folder.
  const std::wstring userCopy = platform::LocalAppDataFolder(false) + L"\\Lumorix\\LumorixSS.scr";
  RegistryKey desktop = RegistryKey::Open(HKEY_CURRENT_USER, "Control Panel\\Desktop", KEY_READ);
  EXPECT_TRUE(SamePath(ReadRegistryString(desktop.Get(), "SCRNSAVE.EXE"), userCopy));
  EXPECT_EQ(FileBytes(userCopy), FileBytes(own + L"LSS.s~"));
  EXPECT_FALSE(Exists(systemCopy));
  EXPECT_EQ(ReadLink(StartUpFolder() + L"\\Lumorix.lnk").target, own + L"Lumorix.exe");

  ASSERT_TRUE(player.AddThroughTheOpenDialog(Clip("short.avi"), 2));
  EXPECT_TRUE(player.EndAsAtLogOff());
  EXPECT_EQ(PlayListNames(UserPlayListFile()), (std::vector<std::string>{"blue.avi", "short.avi"}));
  EXPECT_TRUE(FileBytes(own + L"Lumorix.Lumorixpl").empty()) << "the program folder's seed is never written";
  EXPECT_NE(ReadRegistryString(desktop.Get(), "SCRNSAVE.EXE"), userCopy) << "given back at the end";
}

TEST_F(InstallationForOneUser, APlayerThatWillNotEndStopsAnInstallationWithCode3AndNothingChanges) {
  ASSERT_EQ(userCode_, std::optional<DWORD>(0));
  const std::wstring player = UserDefaultFolder() + L"Lumorix.exe";
  const std::vector<uint8_t> installed = FileBytes(player);
  ASSERT_TRUE(CopyFileW(Build("tests/setup/stubborn_player.exe").c_str(), player.c_str(), FALSE));
  const std::vector<uint8_t> stubborn = FileBytes(player);
  {
    ChildProcess running(player, L"", UserDefaultFolder());
    ASSERT_NE(WaitForProcessWindow(running.Id(), L"TLumorixMainForm", nullptr, milliseconds(20000)), nullptr);
    ChildProcess setup(SetupProgram(), L"/S /CurrentUser", Build("bin"), Rights::WithoutAdministrator);
    EXPECT_EQ(setup.WaitForExit(milliseconds(90000)), std::optional<DWORD>(3));
    EXPECT_EQ(FileBytes(player), stubborn) << "the files were replaced under the running program";
  }  // the stubborn program is ended here
  PumpFor(milliseconds(500));
  ASSERT_TRUE(CopyFileW(Build("setup/payload-programs/Lumorix.exe").c_str(), player.c_str(), FALSE));
  EXPECT_EQ(FileBytes(player), installed);
}

TEST_F(InstallationForOneUser, ItsUninstallerRemovesOnlyTheUsersAndEveryonesInstallationStaysAsItWas) {
  ASSERT_EQ(userCode_, std::optional<DWORD>(0));
  const std::wstring own = UserDefaultFolder();
  std::optional<std::string> command = ReadUserString(kEntry, "UninstallString");
  ASSERT_TRUE(command);
  WritePlayerPlayList({"blue.avi"});
  (void)CreateShortcut(own + L"Lumorix.exe", L"", own, StartUpFolder() + L"\\Lumorix.lnk");

  EXPECT_EQ(RunUninstall(Widen(*command), L"C:\\", true, Rights::WithoutAdministrator), std::optional<DWORD>(0));
  EXPECT_TRUE(PumpUntil([&] { return !Exists(own); }, milliseconds(20000)));
  EXPECT_TRUE(PumpUntil([] { return !ReadUserString(kEntry, "InstallLocation"); }, milliseconds(20000)));
  EXPECT_FALSE(Exists(platform::UserProgramsFolder() + L"\\Vantrel"));
  EXPECT_FALSE(Exists(platform::UserDesktopFolder() + L"\\Lumorix.lnk"));
  EXPECT_FALSE(Exists(StartUpFolder() + L"\\Lumorix.lnk")) << "it started the removed player";
  // The user keeps everyone's installation, whose player shares their list and settings.
  EXPECT_EQ(PlayListNames(UserPlayListFile()), std::vector<std::string>{"blue.avi"});
  EXPECT_TRUE(RegistryKey::Open(HKEY_CURRENT_USER, kAudioKey, KEY_READ));

  MachineState now = MachineState::Now();
  EXPECT_TRUE(now.files == machine_.files) << "everyone's files changed";
  EXPECT_TRUE(now.values == machine_.values) << "everyone's settings or entry changed";
  EXPECT_EQ(now.links, machine_.links);
  for (const char* key : {kSettingsKey, kAudioKey, kColorKey, kVideoKey, kPlayListKey})
    EXPECT_FALSE(UsersMayChange(HKEY_LOCAL_MACHINE, key)) << key;
}

namespace {

// The window as a user without the administrator's rights drives it: agree,
// choose, start, and the closing box answered. Whether the window started
// its administrator's part (a LumorixSetup.exe of its own) is watched.
struct WindowRun {
  std::optional<DWORD> exitCode;
  std::wstring closingText;
  std::wstring folderShown;
  bool startedItsAdministratorsPart = false;
};

WindowRun InstallThroughTheWindow(const wchar_t* choice) {
  WindowRun run;
  ChildProcess setup(SetupProgram(), L"", Build("bin"), Rights::WithoutAdministrator);
  HWND window = WaitForProcessWindow(setup.Id(), L"TLumorixSetupForm", L"Lumorix Setup", milliseconds(20000));
  if (!window) return run;
  SendMessageW(FindControl(window, L"Button", choice), BM_CLICK, 0, 0);
  SendMessageW(FindControl(window, L"Button", L"I Agree"), BM_CLICK, 0, 0);
  SendMessageW(FindControl(window, L"Button", L"Add ShorCut to Desktop"), BM_CLICK, 0, 0);
  HWND start = FindControl(window, L"Button", L"Start");
  // Asked of the box itself: another process's edit control keeps its text to itself.
  wchar_t shown[MAX_PATH] = {};
  SendMessageW(FindWindowExW(GetParent(start), nullptr, L"Edit", nullptr), WM_GETTEXT, MAX_PATH,
               reinterpret_cast<LPARAM>(shown));
  run.folderShown = shown;
  PostMessageW(start, BM_CLICK, 0, 0);
  ClosingBox closing = AnswerClosingBox(
      setup, [&] { run.startedItsAdministratorsPart |= HasChildRunning(setup.Id(), L"LumorixSetup.exe"); });
  run.closingText = closing.text;
  run.exitCode = closing.exitCode;
  return run;
}

}  // namespace

TEST(ChoiceInTheWindow, ForEveryoneItStartsItsAdministratorsPartAndForMeOnlyItInstallsAsTheUser) {
  (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ForgetInstallations();
  WindowRun everyone = InstallThroughTheWindow(L"Install for Everyone");
  EXPECT_TRUE(SamePath(everyone.folderShown, kDefaultFolder)) << "[" << Narrow(everyone.folderShown) << "]";
  EXPECT_TRUE(everyone.startedItsAdministratorsPart);
  EXPECT_EQ(everyone.closingText, L"Thank You for using\nLumorix!");
  EXPECT_EQ(everyone.exitCode, std::optional<DWORD>(0));
  EXPECT_EQ(ReadString(kEntry, "InstallLocation"), Narrow(kDefaultFolder));
  EXPECT_TRUE(Exists(CommonMenu() + L"\\Lumorix.lnk"));
  EXPECT_FALSE(ReadUserString(kEntry, "InstallLocation"));

  WindowRun me = InstallThroughTheWindow(L"Install for Me Only");
  EXPECT_TRUE(SamePath(me.folderShown, UserDefaultFolder())) << Narrow(me.folderShown);
  EXPECT_FALSE(me.startedItsAdministratorsPart) << "an administrator was asked for";
  EXPECT_EQ(me.closingText, L"Thank You for using\nLumorix!");
  EXPECT_EQ(me.exitCode, std::optional<DWORD>(0));
  EXPECT_EQ(ReadUserString(kEntry, "InstallLocation"), Narrow(UserDefaultFolder()));
  EXPECT_TRUE(Exists(UserMenu() + L"\\Lumorix.lnk"));
  EXPECT_EQ(ReadString(kEntry, "InstallLocation"), Narrow(kDefaultFolder)) << "everyone's entry changed";
  ForgetInstallations();
}
