// An installation for one user and the administrator's part of one for
// everyone, in this process with the built payload. Wine gives every program
// the administrator's rights and asks nobody's consent: the question whether
// this process has them, and the consent, are answered by a stand-in; the
// administrator's part itself is the real LumorixSetup.exe started with the
// system's "runas" verb.
#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "common/install_folder.h"
#include "common/settings_layout.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "setup/elevated_part.h"
#include "setup/installation.h"
#include "setup/target_folder.h"
#include "tests/setup/setup_process.h"
#include "tests/support/registry_fixture.h"

using namespace lumorix;
using namespace lumorix::setup;

namespace {

constexpr char kEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumorix";

// Records what the steps show, in order.
class RecordingView : public InstallView {
 public:
  void SetStatus(const std::wstring& text) override { statuses.push_back(text); }
  void SetFileProgress(int32_t position) override { filePositions.push_back(position); }
  void SetTotalProgress(int32_t position) override { totalPositions.push_back(position); }
  void ProcessMessages() override {}
  std::vector<std::wstring> statuses;
  std::vector<int32_t> filePositions;
  std::vector<int32_t> totalPositions;
};

// This process's rights and the consent, as a test decides them; what it was asked.
class StandInElevation : public Elevation {
 public:
  bool elevated = false;
  std::function<ElevatedRun(const std::wstring&, const std::wstring&, const std::function<void()>&)> run;
  std::vector<std::wstring> arguments;
  bool Elevated() override { return elevated; }
  ElevatedRun Run(const std::wstring& program, const std::wstring& given, HWND,
                  const std::function<void()>& pump) override {
    arguments.push_back(given);
    return run ? run(program, given, pump) : ElevatedRun{ElevatedRun::Outcome::Declined};
  }
};

std::wstring SetupProgram() { return test::WindowsPath(LUMORIX_BUILD_DIR "/bin/LumorixSetup.exe"); }

void RemoveTree(const std::wstring& tree) {
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(tree), ignored);
}

std::optional<std::string> EntryValue(HKEY root, const char* name) {
  std::optional<RawValue> value = RegistryKey::Open(root, kEntry, KEY_READ).Read(name);
  if (!value) return std::nullopt;
  return DecodeString(name, value);
}

void ForgetEveryInstallation() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) (void)RegDeleteKeyW(root, Widen(kEntry).c_str());
  test::DeleteSettingsTree();
  for (const std::wstring& programs : {platform::UserProgramsFolder(), platform::CommonProgramsFolder()})
    RemoveTree(programs + L"\\Vantrel");
  for (const std::wstring& desktop : {platform::UserDesktopFolder(), platform::CommonDesktopFolder()})
    (void)DeleteFileW((desktop + L"\\Lumorix.lnk").c_str());
}

}  // namespace

TEST(UserInstallation, EntryShortcutsAndSettingsAreTheUsersAndNothingOfTheMachinesIsWritten) {
  (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ForgetEveryInstallation();
  const std::wstring folder = DefaultFolder(InstallScope::CurrentUser);
  ASSERT_TRUE(SamePath(folder, platform::LocalAppDataFolder(false) + L"\\Programs\\Vantrel\\Lumorix\\"))
      << Narrow(folder);
  RemoveTree(folder);
  // The user's own setting from an earlier installation stays.
  test::WriteSetting(kAudioKey, "Volume", EncodeInteger(-1234));

  RecordingView view;
  auto stateFor = [&] {
    TInstallState state;
    state.InstallFolder = folder;
    state.scope = InstallScope::CurrentUser;
    state.options = {true, true, true};
    state.view = &view;
    return state;
  };
  {
    // Installed in this process, even without the administrator's rights:
    // nobody is asked. (This test program carries no payload of its own.)
    TInstallState state = stateFor();
    StandInElevation elevation;
    (void)InstallInScope(state, GetModuleHandleW(nullptr), elevation, SetupProgram(), nullptr);
    EXPECT_TRUE(elevation.arguments.empty()) << "an administrator was asked for";
  }
  TInstallState state = stateFor();
  InstallOutcome outcome = InstallFrom(Narrow(test::WindowsPath(LUMORIX_BUILD_DIR "/setup/payload.zip")), state);
  ASSERT_TRUE(outcome.Complete()) << Narrow(outcome.message);

  EXPECT_TRUE(test::Exists(folder + L"Lumorix.exe"));
  EXPECT_EQ(EntryValue(HKEY_CURRENT_USER, "InstallLocation"), Narrow(folder));
  EXPECT_EQ(EntryValue(HKEY_CURRENT_USER, "UninstallString"), "\"" + Narrow(folder) + "Uninstall.exe\"");
  EXPECT_EQ(EntryValue(HKEY_CURRENT_USER, "DisplayName"), "Lumorix");
  EXPECT_FALSE(RegistryKey::Open(HKEY_LOCAL_MACHINE, kEntry, KEY_READ)) << "the machine's list got an entry";
  EXPECT_FALSE(RegistryKey::Open(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_READ)) << "the machine got settings";
  // The defaults are in the user's own tree, where the player reads them,
  // and what the user had stays.
  EXPECT_EQ(test::ReadIntegerSetting(kAudioKey, "Volume"), -1234);
  EXPECT_EQ(test::ReadIntegerSetting(kColorKey, "Brightness"), 75);
  EXPECT_EQ(test::ReadIntegerSetting(kSettingsKey, "StartUp"), 1);
  EXPECT_EQ(test::ReadIntegerSetting(kSettingsKey, "Replace Screen Saver"), 0);

  const std::wstring menu = platform::UserProgramsFolder() + L"\\Vantrel\\Lumorix";
  EXPECT_EQ(test::ReadLink(menu + L"\\Lumorix.lnk").target, folder + L"Lumorix.exe");
  EXPECT_EQ(test::ReadLink(menu + L"\\Uninstall.lnk").target, folder + L"Uninstall.exe");
  EXPECT_EQ(test::ReadLink(platform::UserDesktopFolder() + L"\\Lumorix.lnk").target, folder + L"Lumorix.exe");
  EXPECT_FALSE(test::Exists(platform::CommonProgramsFolder() + L"\\Vantrel"));
  EXPECT_FALSE(test::Exists(platform::CommonDesktopFolder() + L"\\Lumorix.lnk"));
  std::vector<std::string> log = test::FileLines(folder + L"Uninstall.log");
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
            (std::vector<std::string>{Narrow(menu) + "\\Lumorix.lnk", Narrow(menu) + "\\Uninstall.lnk",
                                      Narrow(platform::UserDesktopFolder()) + "\\Lumorix.lnk"}));

  RemoveTree(folder);
  ForgetEveryInstallation();
}

TEST(ElevatedPart, WithoutTheRightsTheInstallerStartsItselfWithThemAndTheWindowSeesItsProgress) {
  ForgetEveryInstallation();
  const std::wstring folder = L"C:\\ElevatedPart\\Lumorix\\";
  RemoveTree(L"C:\\ElevatedPart");
  RecordingView view;
  TInstallState state;
  state.InstallFolder = L"C:\\ElevatedPart\\Lumorix";
  state.options = {false, false, false};
  state.view = &view;
  StandInElevation elevation;
  elevation.run = [](const std::wstring& program, const std::wstring& arguments, const std::function<void()>& pump) {
    return RunElevated(program, arguments, nullptr, pump);
  };
  InstallOutcome outcome = InstallInScope(state, GetModuleHandleW(nullptr), elevation, SetupProgram(), nullptr);
  ASSERT_EQ(elevation.arguments.size(), 1u);
  EXPECT_TRUE(elevation.arguments[0].starts_with(L"/Machine ")) << Narrow(elevation.arguments[0]);
  EXPECT_TRUE(elevation.arguments[0].ends_with(L" 0 /D=" + folder)) << Narrow(elevation.arguments[0]);
  // The other process's closing message, its progress and its work.
  EXPECT_EQ(outcome.result, InstallResult::Installed);
  EXPECT_EQ(outcome.message, kThanks);
  ASSERT_GE(view.statuses.size(), 8u);
  EXPECT_EQ(view.statuses.front(), L"Unpacing: " + folder + L"Languages\\English.ini");
  EXPECT_EQ(view.statuses.back(), L"Creating uninstall");
  ASSERT_FALSE(view.totalPositions.empty());
  EXPECT_TRUE(std::is_sorted(view.totalPositions.begin(), view.totalPositions.end()));
  EXPECT_EQ(view.totalPositions.back(), 1000);
  EXPECT_EQ(view.filePositions.size(), view.totalPositions.size());
  EXPECT_TRUE(test::Exists(folder + L"Lumorix.exe"));
  EXPECT_EQ(EntryValue(HKEY_LOCAL_MACHINE, "InstallLocation"), Narrow(folder));
  EXPECT_FALSE(RegistryKey::Open(HKEY_CURRENT_USER, kEntry, KEY_READ));
  RemoveTree(L"C:\\ElevatedPart");
  ForgetEveryInstallation();
}

TEST(ElevatedPart, ADeclinedConsentOrAPartThatInstalledNothingEndsWithItsOwnCode) {
  ForgetEveryInstallation();
  RemoveTree(L"C:\\NotConsented");
  struct Case {
    const char* name;
    ElevatedRun run;
    InstallResult result;
    SetupExitCode code;
    const wchar_t* said;
  };
  const Case cases[] = {
      {"consent declined",
       {ElevatedRun::Outcome::Declined},
       InstallResult::Declined,
       kSetupCancelled,
       L"\"Install for Me Only\""},
      {"the running player did not end",
       {ElevatedRun::Outcome::Ended, kSetupPlayerRunning},
       InstallResult::PlayerRunning,
       kSetupPlayerRunning,
       L"code 3"},
      {"the part could not be started",
       {ElevatedRun::Outcome::NotStarted, 0, L"no such program"},
       InstallResult::Incomplete,
       kSetupIncomplete,
       L"no such program"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingView view;
    TInstallState state;
    state.InstallFolder = L"C:\\NotConsented\\Lumorix\\";
    state.view = &view;
    StandInElevation elevation;
    elevation.run = [&](const std::wstring&, const std::wstring&, const std::function<void()>&) { return c.run; };
    InstallOutcome outcome = InstallInScope(state, GetModuleHandleW(nullptr), elevation, L"", nullptr);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(ExitCodeOf(outcome.result), c.code);
    EXPECT_NE(outcome.message.find(c.said), std::wstring::npos) << Narrow(outcome.message);
    EXPECT_FALSE(test::Exists(L"C:\\NotConsented"));
  }
  // A folder that cannot be used is refused before anybody is asked.
  RecordingView view;
  TInstallState state;
  state.InstallFolder = L"C:\\";
  state.view = &view;
  StandInElevation elevation;
  EXPECT_EQ(InstallInScope(state, GetModuleHandleW(nullptr), elevation, L"", nullptr).result,
            InstallResult::FolderRefused);
  EXPECT_TRUE(elevation.arguments.empty());
  EXPECT_FALSE(RegistryKey::Open(HKEY_LOCAL_MACHINE, kEntry, KEY_READ));
}
