// The installer's window and steps in this process: the layout, the
// agreement, "Brouse", the close question, and an installation from the
// built payload with every status text and bar position it shows.
#include <windows.h>
#include <aclapi.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/install_folder.h"
#include "common/settings_layout.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/registry_access.h"
#include "platform/text.h"
#include "setup/installation.h"
#include "setup/setup_form.h"
#include "tests/setup/setup_process.h"
#include "tests/support/gui_test.h"
#include "tests/support/registry_fixture.h"
#include "ui/application.h"

using namespace lumorix;
using namespace lumorix::setup;
using std::chrono::milliseconds;

namespace {

struct Asked {
  std::wstring text;
  std::wstring caption;
  UINT type = 0;
};

// The window with its boxes answered by the test.
struct SetupWindow {
  std::vector<Asked> asked;
  int answer = IDNO;
  std::optional<std::wstring> picked;
  std::vector<TInstallState*> installs;
  InstallOutcome outcome{InstallResult::Installed, kThanks};
  TSetupForm form{[this](TInstallState& state) {
                    installs.push_back(&state);
                    seenFolder = state.InstallFolder;
                    seenOptions = state.options;
                    seenScope = state.scope;
                    return outcome;
                  },
                  [this](const std::wstring& text, const std::wstring& caption, UINT type) {
                    asked.push_back({text, caption, type});
                    return answer;
                  },
                  [this](HWND, const std::wstring&) { return picked; }};
  std::wstring seenFolder;
  InstallOptions seenOptions;
  InstallScope seenScope = InstallScope::AllUsers;
  ~SetupWindow() { ui::Application::Instance().ClearTermination(); }
};

ui::Bounds ClientBounds(HWND window) {
  RECT rect;
  GetClientRect(window, &rect);
  return {0, 0, rect.right, rect.bottom};
}

}  // namespace

TEST(SetupWindow, PlacesEveryControlAsDesigned) {
  SetupWindow setup;
  TSetupForm& form = setup.form;
  EXPECT_EQ(form.Text(), L"Lumorix Setup");
  EXPECT_EQ(form.Left(), 328);
  EXPECT_EQ(form.Top(), 134);
  ui::Bounds client = ClientBounds(form.Handle());
  EXPECT_EQ(client.width, 487);
  EXPECT_EQ(client.height, 455);
  LONG style = GetWindowLongW(form.Handle(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

  EXPECT_EQ(form.GBLicense.Text(), L"License");
  EXPECT_EQ(form.GBLicense.GetBounds().height, 199);
  EXPECT_EQ(form.GBSettings.Text(), L"Settings");
  EXPECT_EQ(form.GBSettings.Top(), 199);
  EXPECT_EQ(form.GBSettings.Height(), 70);
  EXPECT_EQ(form.PBottom.Top(), 269);
  EXPECT_EQ(form.PBottom.Height(), 455 - 269);
  EXPECT_EQ(form.PBottom.TopColor(), RGB(255, 255, 255));
  EXPECT_EQ(form.PBottom.BottomColor(), RGB(192, 192, 192));

  EXPECT_EQ(form.MLicense.Text().substr(0, 39), L"Software agreement and limited warranty");
  EXPECT_EQ(form.CBAgree.Text(), L"I Agree");
  EXPECT_FALSE(form.CBAgree.Checked());
  EXPECT_EQ(form.CBStartUp.Text(), L"SturtUp with Windows");
  EXPECT_FALSE(form.CBStartUp.Checked());
  EXPECT_EQ(form.CBStartMenu.Text(), L"Add ShortCut to Start Menu");
  EXPECT_TRUE(form.CBStartMenu.Checked());
  EXPECT_EQ(form.CBDesktop.Text(), L"Add ShorCut to Desktop");
  EXPECT_TRUE(form.CBDesktop.Checked());
  EXPECT_EQ(form.CBDesktop.Left(), 176);

#ifdef _WIN64
  // The x64 programs go where 64-bit Windows keeps its programs, as the system names that folder.
  EXPECT_EQ(form.InstallFolder.Text(), platform::ProgramFilesFolder() + L"\\Vantrel\\Lumorix\\");
#else
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_EQ(form.InstallFolder.Text(), std::wstring(system, 3) + L"Program Files\\Vantrel\\Lumorix\\");
#endif
  EXPECT_EQ(form.InstallFolder.Left(), 8);
  EXPECT_EQ(form.InstallFolder.Width(), 361);
  EXPECT_EQ(form.BtBrouse.Text(), L"Brouse");
  EXPECT_EQ(form.BtBrouse.Left(), 376);
  EXPECT_EQ(form.LStatus.Text(), L"");
  EXPECT_EQ(form.PBFile.Top(), 72);
  EXPECT_EQ(form.PBTotal.Top(), 104);
  EXPECT_EQ(form.PBTotal.Width(), 441);
  EXPECT_EQ(form.BtStart.Text(), L"Start");
  EXPECT_EQ(form.BtStart.Left(), 16);
  EXPECT_EQ(form.BtStart.Top(), 136);
  EXPECT_FALSE(form.BtStart.Enabled());
}

TEST(SetupWindow, StartIsEnabledExactlyWhileIAgreeIsTicked) {
  SetupWindow setup;
  setup.form.CBAgree.SetChecked(true);
  EXPECT_TRUE(setup.form.BtStart.Enabled());
  setup.form.CBAgree.SetChecked(false);
  EXPECT_FALSE(setup.form.BtStart.Enabled());
}

TEST(SetupWindow, BrouseAppendsLumorixWhetherPickedOrCancelled) {
  SetupWindow setup;
  setup.form.InstallFolder.SetText(L"D:\\Apps\\");
  setup.form.BtBrouseClick();
  EXPECT_EQ(setup.form.InstallFolder.Text(), L"D:\\Apps\\Lumorix\\");
  setup.form.BtBrouseClick();
  EXPECT_EQ(setup.form.InstallFolder.Text(), L"D:\\Apps\\Lumorix\\");
  setup.picked = L"E:\\Tools";
  setup.form.BtBrouseClick();
  EXPECT_EQ(setup.form.InstallFolder.Text(), L"E:\\Tools\\Lumorix\\");
}

TEST(SetupWindow, CloseAsksAndOnlyYesCloses) {
  SetupWindow setup;
  setup.form.Show();
  setup.answer = IDNO;
  SendMessageW(setup.form.Handle(), WM_CLOSE, 0, 0);
  ASSERT_EQ(setup.asked.size(), 1u);
  EXPECT_EQ(setup.asked[0].text, L"Do You whant to exit setup?");
  EXPECT_EQ(setup.asked[0].caption, L"Lumorix Setup");
  EXPECT_EQ(setup.asked[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_FALSE(ui::Application::Instance().Terminated());
  setup.answer = IDYES;
  SendMessageW(setup.form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  EXPECT_TRUE(setup.installs.empty());
}

TEST(SetupWindow, StartRunsTheInstallationWithTheOptionsThenThanksAndClosesWithoutAsking) {
  SetupWindow setup;
  setup.form.CBAgree.SetChecked(true);
  setup.form.CBStartUp.SetChecked(true);
  setup.form.CBDesktop.SetChecked(false);
  setup.form.InstallFolder.SetText(L"D:\\Apps\\Lumorix\\");
  setup.form.BtStartClick();
  ASSERT_EQ(setup.installs.size(), 1u);
  EXPECT_EQ(setup.seenFolder, L"D:\\Apps\\Lumorix\\");
  EXPECT_TRUE(setup.seenOptions.startUpWithWindows);
  EXPECT_TRUE(setup.seenOptions.startMenuShortcuts);
  EXPECT_FALSE(setup.seenOptions.desktopShortcut);
  ASSERT_EQ(setup.asked.size(), 1u);
  EXPECT_EQ(setup.asked[0].text, L"Thank You for using\nLumorix!");
  EXPECT_EQ(setup.asked[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
  EXPECT_TRUE(setup.form.Finished);
  EXPECT_TRUE(ui::Application::Instance().Terminated());
  // No exit question after the closing message.
  SendMessageW(setup.form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(setup.asked.size(), 1u);
}

TEST(SetupWindow, AFailedInstallationSaysWhyWithTheErrorIcon) {
  SetupWindow setup;
  setup.outcome = {InstallResult::Incomplete, L"Lumorix was not installed completely.\nX: why."};
  setup.form.CBAgree.SetChecked(true);
  setup.form.BtStartClick();
  ASSERT_EQ(setup.asked.size(), 1u);
  EXPECT_EQ(setup.asked[0].text, setup.outcome.message);
  EXPECT_EQ(setup.asked[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

TEST(SetupWindow, RefusedFoldersSayWhyAndInstallNothingAndQuotesAreTakenOff) {
  struct Case {
    const wchar_t* typed;
    const wchar_t* said;
  };
  for (const Case& c : std::vector<Case>{{L"C:\\", L"root of a drive"},
                                         {L"Apps\\Lumorix", L"not a full path"},
                                         {L"\\\\server\\share\\Lumorix", L"on the network"}}) {
    SetupWindow setup;
    setup.form.CBAgree.SetChecked(true);
    setup.form.InstallFolder.SetText(c.typed);
    setup.form.BtStartClick();
    EXPECT_TRUE(setup.installs.empty()) << c.typed;
    ASSERT_EQ(setup.asked.size(), 1u) << c.typed;
    EXPECT_NE(setup.asked[0].text.find(c.said), std::wstring::npos) << setup.asked[0].text;
    EXPECT_FALSE(setup.form.Finished);
  }
  SetupWindow setup;
  setup.form.CBAgree.SetChecked(true);
  setup.form.InstallFolder.SetText(L"  \"C:\\Some\\..\\Folder\"");
  setup.form.BtStartClick();
  EXPECT_EQ(setup.seenFolder, L"C:\\Folder\\") << "unquoted and made full";
}

TEST(SetupWindow, WhenNothingWasInstalledTheUserMayChooseAgain) {
  for (InstallResult result : {InstallResult::FolderRefused, InstallResult::PlayerRunning, InstallResult::Declined}) {
    SetupWindow setup;
    setup.outcome = {result, L"Lumorix was not installed: why."};
    setup.form.CBAgree.SetChecked(true);
    setup.form.InstallFolder.SetText(L"C:\\Busy\\");
    setup.form.BtStartClick();
    ASSERT_EQ(setup.asked.size(), 1u);
    EXPECT_EQ(setup.asked[0].text, setup.outcome.message);
    EXPECT_EQ(setup.asked[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(setup.form.Finished);
    EXPECT_FALSE(ui::Application::Instance().Terminated());
    EXPECT_TRUE(setup.form.BtStart.Enabled());
    EXPECT_TRUE(setup.form.BtBrouse.Enabled());
  }
}

TEST(SetupWindow, ForEveryoneOrForMeOnlyEachWithItsDefaultFolderAndATypedOneKept) {
  SetupWindow setup;
  TSetupForm& form = setup.form;
  EXPECT_EQ(form.RBForEveryone.Text(), L"Install for Everyone");
  EXPECT_EQ(form.RBForMe.Text(), L"Install for Me Only");
  EXPECT_EQ(GetParent(form.RBForMe.Handle()), form.GBSettings.Handle());
  EXPECT_EQ(form.RBForEveryone.Left(), 336);
  EXPECT_EQ(form.RBForEveryone.Top(), 16);
  EXPECT_EQ(form.RBForMe.Top(), 40);
  // A column of their own right of the options, inside the group.
  EXPECT_LE(form.CBDesktop.Left() + form.CBDesktop.Width(), form.RBForMe.Left());
  EXPECT_LE(form.RBForEveryone.Left() + form.RBForEveryone.Width(), form.GBSettings.Width());
  EXPECT_LE(form.RBForMe.Left() + form.RBForMe.Width(), form.GBSettings.Width());
  EXPECT_TRUE(form.RBForEveryone.Checked());
  EXPECT_FALSE(form.RBForMe.Checked());

  // Chosen as a user chooses: the other is cleared and the folder box takes
  // the user's own programs folder.
  SendMessageW(form.RBForMe.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(form.RBForMe.Checked());
  EXPECT_FALSE(form.RBForEveryone.Checked());
  const std::wstring own = platform::LocalAppDataFolder(false) + L"\\Programs\\Vantrel\\Lumorix\\";
  EXPECT_TRUE(SamePath(form.InstallFolder.Text(), own)) << Narrow(form.InstallFolder.Text());
  form.CBAgree.SetChecked(true);
  form.BtStartClick();
  EXPECT_EQ(setup.seenScope, InstallScope::CurrentUser);
  EXPECT_EQ(setup.seenFolder, form.InstallFolder.Text());

  SetupWindow typed;
  typed.form.InstallFolder.SetText(L"D:\\Mine\\Lumorix\\");
  SendMessageW(typed.form.RBForMe.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(typed.form.InstallFolder.Text(), L"D:\\Mine\\Lumorix\\");
  SendMessageW(typed.form.RBForEveryone.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(typed.form.RBForEveryone.Checked());
  EXPECT_FALSE(typed.form.RBForMe.Checked());
  EXPECT_EQ(typed.form.InstallFolder.Text(), L"D:\\Mine\\Lumorix\\");
  typed.form.CBAgree.SetChecked(true);
  typed.form.BtStartClick();
  EXPECT_EQ(typed.seenScope, InstallScope::AllUsers);
}

namespace {

// Records what the steps show, in order.
class RecordingView : public InstallView {
 public:
  void SetStatus(const std::wstring& text) override { statuses.push_back(text); }
  void SetFileProgress(int32_t position) override { filePositions.push_back(position); }
  void SetTotalProgress(int32_t position) override { totalPositions.push_back(position); }
  void ProcessMessages() override { ++messageRounds; }
  std::vector<std::wstring> statuses;
  std::vector<int32_t> filePositions;
  std::vector<int32_t> totalPositions;
  int messageRounds = 0;
};

}  // namespace

TEST(Installation, ShowsEveryStatusTextInOrderAndTheBarsOnlyGrow) {
  const std::wstring folder = L"C:\\InProcess\\Lumorix\\";
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(L"C:\\InProcess"), ignored);
  RecordingView view;
  TInstallState state;
  state.InstallFolder = L"C:\\InProcess\\Lumorix";  // completed with its "\"
  state.options = {false, false, false};
  state.view = &view;
  InstallOutcome outcome = InstallFrom(Narrow(test::WindowsPath(LUMORIX_BUILD_DIR "/setup/payload.zip")), state);
  EXPECT_TRUE(outcome.Complete());
  EXPECT_EQ(outcome.message, L"Thank You for using\nLumorix!");

  std::vector<std::wstring> expected;
  for (const char* file : {"Languages\\English.ini", "Languages\\Russian.ini"}) {
    expected.push_back(L"Unpacing: " + folder + Widen(file));
    expected.push_back(L"");
  }
  ASSERT_GE(view.statuses.size(), 8u);
  EXPECT_EQ(std::vector<std::wstring>(view.statuses.begin(), view.statuses.begin() + 4), expected);
  EXPECT_EQ(std::vector<std::wstring>(view.statuses.end() - 4, view.statuses.end()),
            (std::vector<std::wstring>{L"Working with Registry", L"Complite.", L"Creating shortcuts.",
                                       L"Creating uninstall"}));
  EXPECT_GT(view.messageRounds, 30);
  // Both bars start at 0; the total bar climbs to the end, the file bar
  // shows what was written before each block.
  EXPECT_EQ(view.totalPositions.front(), 0);
  EXPECT_TRUE(std::is_sorted(view.totalPositions.begin(), view.totalPositions.end()));
  EXPECT_EQ(view.totalPositions.back(), 1000);
  for (int32_t position : view.filePositions) EXPECT_LT(position, 1000);
  // The empty playlist (an entry of size 0) moves no bar: one progress pair per non-empty block.
  EXPECT_EQ(view.filePositions.size(), view.totalPositions.size());

  EXPECT_EQ(state.FolderList, (std::vector<std::wstring>{L"Languages\\", L"Skins\\", L"Skins\\Radorur.skn\\"}));
  std::vector<std::string> log = test::FileLines(folder + L"Uninstall.log");
  EXPECT_EQ(log.front(), "Languages\\English.ini");
  EXPECT_EQ(log.back(), "Uninstall.exe");
  // Installing twice over the same folder works the same way.
  RecordingView again;
  TInstallState second;
  second.InstallFolder = folder;
  second.options = {false, false, false};
  second.view = &again;
  EXPECT_TRUE(InstallFrom(Narrow(test::WindowsPath(LUMORIX_BUILD_DIR "/setup/payload.zip")), second).Complete());
  EXPECT_EQ(test::FileLines(folder + L"Uninstall.log"), log);

  std::filesystem::remove_all(std::filesystem::path(L"C:\\InProcess"), ignored);
  (void)RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumorix");
  test::DeleteSettingsTree();
}

TEST(Installation, ShortcutsAreEveryUsersAndFollowAReinstallationIntoAnotherFolder) {
  std::error_code ignored;
  (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring menu = platform::CommonProgramsFolder() + L"\\Vantrel\\Lumorix";
  for (const wchar_t* folder : {L"C:\\Twice\\First\\", L"C:\\Twice\\Second\\"}) {
    RecordingView view;
    TInstallState state;
    state.InstallFolder = folder;
    state.options = {false, true, true};
    state.view = &view;
    ASSERT_TRUE(InstallFrom(Narrow(test::WindowsPath(LUMORIX_BUILD_DIR "/setup/payload.zip")), state).Complete());
    std::vector<std::string> log = test::FileLines(std::wstring(folder) + L"Uninstall.log");
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[log.size() - 3], Narrow(menu) + "\\Lumorix.lnk");
    EXPECT_EQ(test::ReadLink(menu + L"\\Lumorix.lnk").target, std::wstring(folder) + L"Lumorix.exe");
    EXPECT_EQ(test::ReadLink(menu + L"\\Uninstall.lnk").target, std::wstring(folder) + L"Uninstall.exe");
    EXPECT_EQ(test::ReadLink(platform::CommonDesktopFolder() + L"\\Lumorix.lnk").target,
              std::wstring(folder) + L"Lumorix.exe");
  }
  std::filesystem::remove_all(std::filesystem::path(L"C:\\Twice"), ignored);
  std::filesystem::remove_all(std::filesystem::path(platform::CommonProgramsFolder() + L"\\Vantrel"), ignored);
  DeleteFileW((platform::CommonDesktopFolder() + L"\\Lumorix.lnk").c_str());
  (void)RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumorix");
  test::DeleteSettingsTree();
}

TEST(Installation, AnEarlierMachineKeyIsCleanedNotOnlyClosed) {
  test::DeleteSettingsTree();
  // What an earlier installation's open rights let any user do: own the key
  // (and so give the rights back), plant paths every new user's player would
  // take, and turn a subkey into a link the installer would write through.
  RegistryKey settings = RegistryKey::Create(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_READ | KEY_WRITE | WRITE_OWNER);
  for (const char* planted : {"Skin", "Language", "DesktopPlaybackWallPaper", "OldScreenSaver"})
    ASSERT_TRUE(settings.Write(planted, EncodeString("\\\\\\\\attacker\\\\share\\\\x"))) << planted;
  ASSERT_TRUE(settings.Write("Kept", EncodeString("an administrator's")));
  BYTE users[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof users;
  ASSERT_TRUE(CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &size));
  ASSERT_EQ(
      SetSecurityInfo(settings.Get(), SE_REGISTRY_KEY, OWNER_SECURITY_INFORMATION, users, nullptr, nullptr, nullptr),
      static_cast<DWORD>(ERROR_SUCCESS));
  settings.Close();
  ASSERT_TRUE(RegistryKey::Create(HKEY_LOCAL_MACHINE, "Software\\LumorixLinkTarget").Write("Kept", EncodeString("x")));
  ASSERT_TRUE(test::MakeMachineRegistryLink(kAudioKey, "Software\\LumorixLinkTarget"));

  RecordingView view;
  TInstallState state;
  state.InstallFolder = L"C:\\MachineKey\\Lumorix\\";
  state.options = {false, false, false};
  state.view = &view;
  EXPECT_TRUE(InstallFrom(Narrow(test::WindowsPath(LUMORIX_BUILD_DIR "/setup/payload.zip")), state).Complete());

  for (const char* planted : {"Skin", "Language", "DesktopPlaybackWallPaper", "OldScreenSaver"})
    EXPECT_FALSE(test::ReadSetting(kSettingsKey, planted, HKEY_LOCAL_MACHINE)) << planted;
  EXPECT_TRUE(test::ReadSetting(kSettingsKey, "Kept", HKEY_LOCAL_MACHINE));
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetNamedSecurityInfoW(L"MACHINE\\Software\\Vantrel\\Lumorix", SE_REGISTRY_KEY, OWNER_SECURITY_INFORMATION,
                                  &owner, nullptr, nullptr, nullptr, &descriptor),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(IsWellKnownSid(owner, WinBuiltinAdministratorsSid)) << "the owner could give the rights back";
  LocalFree(descriptor);
  EXPECT_FALSE(UsersMayChange(HKEY_LOCAL_MACHINE, kSettingsKey));
  // The defaults went into a key of their own, not through the link.
  EXPECT_TRUE(test::ReadSetting(kAudioKey, "Volume", HKEY_LOCAL_MACHINE));
  EXPECT_FALSE(test::ReadSetting("Software\\LumorixLinkTarget", "Volume", HKEY_LOCAL_MACHINE));
  EXPECT_TRUE(test::ReadSetting("Software\\LumorixLinkTarget", "Kept", HKEY_LOCAL_MACHINE));

  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(L"C:\\MachineKey"), ignored);
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\LumorixLinkTarget");
  (void)RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumorix");
  test::DeleteSettingsTree();
}
