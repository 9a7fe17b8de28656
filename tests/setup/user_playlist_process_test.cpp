// Every user's own playlist with the real installed player, its program
// folder made read-only for real (Wine enforces no Windows rights, and the
// test bed's user may be root: a read-only bind mount, or the folder's write
// permission taken away). Two users of one prefix: the second one's local
// application data is another folder, named in the user shell folders as a
// roaming profile would name it (one registry hive stands for both users'
// settings).
#include <windows.h>
#include <gtest/gtest.h>

#include "common/settings_layout.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/user_files.h"
#include "tests/setup/installed_product.h"
#include "tests/support/gui_test.h"
#include "tests/support/media.h"
#include "tests/support/player_process.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/unix_side.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const std::wstring kFolder = L"C:\\Apps\\Read Only\\Lumorix\\";
const std::wstring kSecondUser = L"C:\\users\\second\\AppData\\Local";

// Whose local application data the next player start sees.
void BecomeSecondUser(bool second) {
  RegistryKey folders = RegistryKey::Create(HKEY_CURRENT_USER, kShellFolders);
  if (second) {
    CreateDirectoryW(L"C:\\users\\second", nullptr);
    CreateDirectoryW(L"C:\\users\\second\\AppData", nullptr);
    CreateDirectoryW(kSecondUser.c_str(), nullptr);
    ASSERT_TRUE(folders.Write("Local AppData", RawValue{REG_EXPAND_SZ, EncodeString(Narrow(kSecondUser)).data}));
  } else {
    (void)folders.DeleteValue("Local AppData");
  }
}

// One run of the installed player: the list it shows at start, then a clip
// added through the open dialog, then the end of the session.
int RunAndAdd(const std::string& clip) {
  InstalledPlayer player(kFolder);
  EXPECT_TRUE(player.Started());
  if (!player.Started()) return -1;
  PumpUntil([&] { return player.PlayListCount() >= 0; }, milliseconds(10000));
  int shown = player.PlayListCount();
  if (!clip.empty()) EXPECT_TRUE(player.AddThroughTheOpenDialog(Clip(clip), shown + 1)) << clip;
  EXPECT_TRUE(player.EndAsAtLogOff());
  return shown;
}

class ReadOnlyProgramFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ForgetInstallations();
    RemoveTree(L"C:\\Apps\\Read Only\\");
    RemoveTree(L"C:\\users\\second\\");
    ChildProcess setup(SetupProgram(), L"/S /D=" + kFolder, Build("bin"));
    ASSERT_EQ(setup.WaitForExit(milliseconds(120000)), std::optional<DWORD>(0));
    SeedInstallerDefaults();
    WriteSetting(kAudioKey, "PlayListVisible", EncodeInteger(0));
    // What an administrator left as every new user's first list.
    WritePlayListFile(kFolder + L"Lumorix.Lumorixpl", {"red.avi"});
  }
  void TearDown() override {
    BecomeSecondUser(false);
    ForgetInstallations();
    RemoveTree(L"C:\\Apps\\Read Only\\");
    RemoveTree(L"C:\\users\\second\\");
  }
};

}  // namespace

TEST_F(ReadOnlyProgramFolder, EachUserKeepsTheListTheyBuiltAndTheFolderIsNeverWritten) {
  std::vector<uint8_t> seed = FileBytes(kFolder + L"Lumorix.Lumorixpl");
  {
    ReadOnlyFolder readOnly(kFolder);
    if (!readOnly.Ready()) GTEST_SKIP() << "this machine can make the folder read-only neither way";
    const std::wstring first = UserPlayListFile();
    EXPECT_EQ(RunAndAdd("blue.avi"), 1) << "the first user's first list is the seed";
    BecomeSecondUser(true);
    const std::wstring second = UserPlayListFile();
    ASSERT_NE(second, first);
    EXPECT_EQ(RunAndAdd("short.avi"), 1) << "the second user starts from the seed, not from the first one's list";
    BecomeSecondUser(false);
    EXPECT_EQ(RunAndAdd(""), 2) << "the first user's list of the last run";
    BecomeSecondUser(true);
    EXPECT_EQ(RunAndAdd(""), 2) << "the second user's list of the last run";
    BecomeSecondUser(false);
    EXPECT_EQ(PlayListNames(first), (std::vector<std::string>{"red.avi", "blue.avi"}));
    EXPECT_EQ(PlayListNames(second), (std::vector<std::string>{"red.avi", "short.avi"}));
  }
  EXPECT_EQ(FileBytes(kFolder + L"Lumorix.Lumorixpl"), seed);
  EXPECT_FALSE(Exists(kFolder + L"Lumorix.Lumorixpl.new"));
}
