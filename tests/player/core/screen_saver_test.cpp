// The settings window standing in for the user's screen saver and giving it
// back, and the start-up shortcut, against the real registry and files.
#include "common/settings_layout.h"
#include "platform/files.h"
#include "platform/handle.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "tests/player/core/player_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/screen_saver_setup.h"

using namespace lumorix;
using namespace lumorix::test;

namespace {

const std::wstring kUsersScreenSaver = L"C:\\windows\\system32\\ssbubbles.scr";

std::wstring OldScreenSaver() {
  return Widen(DecodeString("OldScreenSaver", ReadSetting(kSettingsKey, "OldScreenSaver")));
}

class ScreenSaverReplacement : public PlayerTest {
 protected:
  UserScreenSaver user{kUsersScreenSaver};
};

}  // namespace

TEST_F(ScreenSaverReplacement, TickingStandsInForTheUsersScreenSaverAndUntickingGivesItBack) {
  ScreenSaverWorkFolder work;
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(ScreenSaverSetting(), kUsersScreenSaver) << "a clear box at start changes nothing";

  form.CBRSS.SetChecked(true);
  EXPECT_EQ(ScreenSaverSetting(), SystemFolderCopy()) << "the copy's real name, not a guessed short one";
  EXPECT_EQ(OldScreenSaver(), kUsersScreenSaver);
  EXPECT_EQ(FileBytes(SystemFolderCopy()), FileBytes(ScreenSaverProgram())) << "the copy is the screen saver";

  form.CBRSS.SetChecked(false);
  EXPECT_EQ(ScreenSaverSetting(), kUsersScreenSaver);
  EXPECT_FALSE(FileExists(SystemFolderCopy()));
}

TEST_F(ScreenSaverReplacement, ACopyInPlaceIsNamedOnlyWithTheProgramsOwnBytes) {
  ScreenSaverWorkFolder work;
  TLumorixMainForm& form = StartPlayer();
  {
    UniqueHandle stale(CreateFileW(SystemFolderCopy().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(stale.Get(), "stale", 5, &written, nullptr));
  }
  form.CBRSS.SetChecked(true);
  EXPECT_EQ(FileBytes(SystemFolderCopy()), FileBytes(ScreenSaverProgram())) << "another program was replaced";
  EXPECT_EQ(ScreenSaverSetting(), SystemFolderCopy());
  form.CBRSS.SetChecked(false);
  EXPECT_FALSE(FileExists(SystemFolderCopy()));
}

TEST_F(ScreenSaverReplacement, AnotherSignedInUsersSettingKeepsTheSharedCopy) {
  ScreenSaverWorkFolder work;
  TLumorixMainForm& form = StartPlayer();
  form.CBRSS.SetChecked(true);
  ASSERT_EQ(ScreenSaverSetting(), SystemFolderCopy());
  // A second user of the machine, signed in, whose player stands in for their screen saver too.
  const std::wstring otherUser = L"S-1-5-21-0-0-0-1999\\Control Panel\\Desktop";
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_USERS, otherUser.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr),
            ERROR_SUCCESS);
  RegistryKey other(created);
  ASSERT_TRUE(other.Write("SCRNSAVE.EXE", EncodeString(Narrow(SystemFolderCopy()))));
  form.CBRSS.SetChecked(false);
  EXPECT_EQ(ScreenSaverSetting(), kUsersScreenSaver) << "this user's own comes back";
  EXPECT_EQ(FileBytes(SystemFolderCopy()), FileBytes(ScreenSaverProgram())) << "the other user's screen saver stays";

  ASSERT_TRUE(other.Write("SCRNSAVE.EXE", EncodeString("C:\\windows\\system32\\theirs.scr")));
  form.CBRSS.SetChecked(true);
  form.CBRSS.SetChecked(false);
  EXPECT_FALSE(FileExists(SystemFolderCopy())) << "nobody names it any more";
  other.Close();
  (void)RegDeleteTreeW(HKEY_USERS, L"S-1-5-21-0-0-0-1999");
}

TEST_F(ScreenSaverReplacement, StartingWithTheBoxTickedInstallsOnceAndKeepsTheUsersAcrossACrash) {
  ScreenSaverWorkFolder work;
  WriteSetting(kSettingsKey, "Replace Screen Saver", EncodeInteger(1));
  TLumorixMainForm& form = StartPlayer();
  EXPECT_TRUE(form.CBRSS.Checked());
  EXPECT_EQ(ScreenSaverSetting(), SystemFolderCopy());
  EXPECT_EQ(OldScreenSaver(), kUsersScreenSaver);

  // A run that ends without its close step leaves ours in place; the next
  // start must not take it for the user's.
  player.reset();
  ASSERT_EQ(ScreenSaverSetting(), SystemFolderCopy());
  TLumorixMainForm& again = StartPlayer();
  EXPECT_EQ(ScreenSaverSetting(), SystemFolderCopy());
  EXPECT_EQ(OldScreenSaver(), kUsersScreenSaver);
  again.CBRSS.SetChecked(false);
  EXPECT_EQ(ScreenSaverSetting(), kUsersScreenSaver);
}

TEST_F(ScreenSaverReplacement, FromAnInstallationForOneUserTheCopyStaysInTheirOwnFolder) {
  // This program's folder as the user's own installation: one that user can
  // change. Wine would let the copy into the system folder; Windows too, for
  // an administrator without UAC.
  constexpr char kEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumorix";
  ASSERT_TRUE(
      RegistryKey::Create(HKEY_CURRENT_USER, kEntry).Write("InstallLocation", EncodeString(Narrow(ProgramFolder()))));
  ScreenSaverWorkFolder work;
  TLumorixMainForm& form = StartPlayer();
  form.CBRSS.SetChecked(true);
  EXPECT_EQ(ScreenSaverSetting(), UserFolderCopy());
  EXPECT_EQ(FileBytes(UserFolderCopy()), FileBytes(ScreenSaverProgram()));
  EXPECT_FALSE(FileExists(SystemFolderCopy())) << "every user's copy made from a folder one user can change";
  form.CBRSS.SetChecked(false);
  EXPECT_EQ(ScreenSaverSetting(), kUsersScreenSaver);
  EXPECT_FALSE(FileExists(UserFolderCopy()));
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, Widen(kEntry).c_str()), ERROR_SUCCESS);
}

TEST_F(ScreenSaverReplacement, WithoutTheProgramFoldersSourceTheCurrentFoldersIsNotTaken) {
  // The installer's "LSS.s~" is missing beside the program; the current
  // folder (a downloads folder, say) holds one of a stranger's.
  ScreenSaverWorkFolder work(/*withSource=*/false);
  TLumorixMainForm& form = StartPlayer();
  form.CBRSS.SetChecked(true);
  EXPECT_EQ(ScreenSaverSetting(), kUsersScreenSaver);
  EXPECT_FALSE(FileExists(SystemFolderCopy()));
  EXPECT_FALSE(FileExists(UserFolderCopy()));
  form.CBRSS.SetChecked(false);
  EXPECT_EQ(ScreenSaverSetting(), kUsersScreenSaver);
}

TEST_F(ScreenSaverReplacement, UndoWithNothingRecordedRemovesOnlyAStaleNameOfOurs) {
  // The first start after installation: no "OldScreenSaver" yet.
  StartPlayer();
  EXPECT_EQ(ScreenSaverSetting(), kUsersScreenSaver) << "the user's own is left alone";
  player.reset();

  SetScreenSaverSetting(SystemFolderCopy());  // ours, from a run that ended without undoing
  StartPlayer();
  EXPECT_EQ(ScreenSaverSetting(), std::nullopt) << "no screen saver rather than a deleted file";
}

TEST_F(ScreenSaverReplacement, AnotherUsersValuesInTheMachinesTreeNeverReachTheSetting) {
  ScreenSaverWorkFolder work;
  // Written behind the player's back, where every user's player once read it.
  auto plant = [] {
    ASSERT_TRUE(RegistryKey::Create(HKEY_LOCAL_MACHINE, kSettingsKey)
                    .Write("OldScreenSaver", EncodeString("C:\\users\\public\\planted.scr")));
  };
  DeleteSettingsTree();
  for (const SettingsDefault& value : InstallerDefaults(false))
    ASSERT_TRUE(RegistryKey::Create(HKEY_LOCAL_MACHINE, value.key).Write(value.name, value.value));
  plant();
  SetScreenSaverSetting(SystemFolderCopy());  // ours, left by a run that ended without undoing
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(ScreenSaverSetting(), std::nullopt) << "nothing of this user's recorded: no screen saver";

  SetScreenSaverSetting(kUsersScreenSaver);
  form.CBRSS.SetChecked(true);
  plant();
  form.CBRSS.SetChecked(false);
  EXPECT_EQ(ScreenSaverSetting(), kUsersScreenSaver);
}

TEST_F(ScreenSaverReplacement, AScreenSaverChosenLaterSurvivesARestart) {
  ScreenSaverWorkFolder work;
  TLumorixMainForm& form = StartPlayer();
  form.CBRSS.SetChecked(true);
  form.CBRSS.SetChecked(false);
  form.ItExitClick();
  const std::wstring chosen = L"C:\\windows\\system32\\chosen.scr";
  SetScreenSaverSetting(chosen);  // in the control panel, while no player runs
  player.reset();
  ui::Application::Instance().ClearTermination();
  StartPlayer().ItExitClick();
  EXPECT_EQ(ScreenSaverSetting(), chosen);
  EXPECT_FALSE(ReadSetting(kSettingsKey, "OldScreenSaver")) << "given back once, then forgotten";
}

TEST_F(PlayerTest, StartUpFolderOfTypeExpandSzIsExpandedForTheShortcut) {
  constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User shell folders";
  RegistryKey folders = RegistryKey::Create(HKEY_CURRENT_USER, kShellFolders);
  std::optional<RawValue> saved = folders.Read("StartUp");
  std::string pattern = "%TEMP%\\lumorix startup";
  RawValue expandable{kRegExpandSz, std::vector<uint8_t>(pattern.begin(), pattern.end())};
  expandable.data.push_back(0);
  ASSERT_TRUE(folders.Write("StartUp", expandable));
  wchar_t expanded[MAX_PATH] = {};
  ExpandEnvironmentStringsW(L"%TEMP%\\lumorix startup", expanded, MAX_PATH);
  std::wstring folder = expanded;
  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring link = folder + L"\\Lumorix.lnk";
  DeleteFileW(link.c_str());

  TLumorixMainForm& form = StartPlayer();
  form.CBRunWithStartUp.SetChecked(true);
  EXPECT_TRUE(FileExists(link));
  form.CBRunWithStartUp.SetChecked(false);
  EXPECT_FALSE(FileExists(link));
  form.CBRunWithStartUp.SetChecked(false);  // nothing to delete: nothing happens
  EXPECT_TRUE(errors.Boxes().empty());

  if (saved)
    (void)folders.Write("StartUp", *saved);
  else
    (void)folders.DeleteValue("StartUp");
  RemoveDirectoryW(folder.c_str());
}
