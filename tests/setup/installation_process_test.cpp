// The real LumorixSetup.exe and Uninstall.exe under Wine: installed silently
// and through the window, checked file by file, value by value and line by
// line, then removed through "Uninstall.exe" as the list of programs runs it.
#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include <shellapi.h>

#include <filesystem>
#include <fstream>

#include "common/settings_layout.h"
#include "platform/handle.h"
#include "platform/registry.h"
#include "platform/registry_access.h"
#include "platform/text.h"
#include "common/install_folder.h"
#include "platform/known_folders.h"
#include "tests/setup/installed_product.h"
#include "tests/setup/setup_process.h"
#include "tests/support/gui_test.h"
#include "tests/support/player_process.h"
#include "tests/support/registry_fixture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

constexpr const char* kUninstallKey = kUninstallKeyName;

std::filesystem::path UnixOf(const std::wstring& windowsPath) { return std::filesystem::path(windowsPath); }

// The machine the image is built for, from its PE header.
uint16_t MachineOf(const std::wstring& program) {
  std::vector<uint8_t> image = FileBytes(program);
  if (image.size() < 0x40) return 0;
  uint32_t pe = image[0x3c] | image[0x3d] << 8 | image[0x3e] << 16 | static_cast<uint32_t>(image[0x3f]) << 24;
  if (image.size() < pe + 6) return 0;
  return static_cast<uint16_t>(image[pe + 4] | image[pe + 5] << 8);
}

// The window's installation: tick, type, untick, start; answers the closing box.
struct WindowRun {
  std::optional<DWORD> exitCode;
  std::wstring closingText;
};

WindowRun InstallThroughWindow(const std::wstring& arguments, const std::wstring& currentFolder,
                               const std::wstring& typedFolder, bool shortcuts) {
  WindowRun run;
  ChildProcess setup(SetupProgram(), arguments, currentFolder);
  HWND window = WaitForProcessWindow(setup.Id(), L"TLumorixSetupForm", L"Lumorix Setup", milliseconds(20000));
  if (!window) return run;
  HWND start = FindControl(window, L"Button", L"Start");
  EXPECT_FALSE(IsWindowEnabled(start));
  SendMessageW(FindControl(window, L"Button", L"I Agree"), BM_CLICK, 0, 0);
  EXPECT_TRUE(IsWindowEnabled(start));
  if (!typedFolder.empty()) {
    HWND edit = FindWindowExW(GetParent(start), nullptr, L"Edit", nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typedFolder.c_str()));
  }
  if (!shortcuts) {
    SendMessageW(FindControl(window, L"Button", L"Add ShortCut to Start Menu"), BM_CLICK, 0, 0);
    SendMessageW(FindControl(window, L"Button", L"Add ShorCut to Desktop"), BM_CLICK, 0, 0);
  }
  PostMessageW(start, BM_CLICK, 0, 0);
  ClosingBox closing = AnswerClosingBox(setup);
  return {closing.exitCode, closing.text};
}

}  // namespace

// One silent installation into the default folder, with the default options,
// shared by the checks; the last ones start the player and remove it all.
class SilentInstallation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ForgetInstallations();  // as on a machine that never had the player
    ChildProcess setup(SetupProgram(), L"/S", Build("bin"));
    exitCode_ = setup.WaitForExit(milliseconds(120000));
  }
  static void TearDownTestSuite() {
    // A player a failed check left running would hold the test's output open.
    if (HWND player = FindWindowW(L"TLumorixMainForm", nullptr)) {
      DWORD processId = 0;
      GetWindowThreadProcessId(player, &processId);
      UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
      TerminateProcess(process.Get(), 1);
    }
    RemoveTree(kDefaultFolder);
  }
  static std::optional<DWORD> exitCode_;
};
std::optional<DWORD> SilentInstallation::exitCode_;

TEST_F(SilentInstallation, EndsWithSuccessAndEveryFileIsTheBuildsByteForByte) {
  ASSERT_EQ(exitCode_, std::optional<DWORD>(0));
  for (const auto& [name, built] : PayloadFiles()) {
    std::wstring installed = kDefaultFolder + Widen(name);
    ASSERT_TRUE(Exists(installed)) << name;
    std::vector<uint8_t> expected = built.empty() ? std::vector<uint8_t>{} : FileBytes(built);
    EXPECT_EQ(FileBytes(installed), expected) << name;
  }
  // The archive went through a uniquely named temporary file, now gone.
  EXPECT_TRUE(TempArchivesLeft().empty());
  EXPECT_FALSE(Exists(Build("bin/LumorixTEMP")));
}

TEST_F(SilentInstallation, TheProgramsLandWhereWindowsKeepsProgramsOfTheirKind) {
  ASSERT_EQ(exitCode_, std::optional<DWORD>(0));
#ifdef _WIN64
  // The x64 player in the 64-bit program-files folder, as the system names it.
  EXPECT_TRUE(SamePath(platform::ProgramFilesFolder() + L"\\Vantrel\\Lumorix\\", kDefaultFolder));
  for (const wchar_t* program : {L"Lumorix.exe", L"Uninstall.exe", L"LSS.s~"})
    EXPECT_EQ(MachineOf(kDefaultFolder + program), IMAGE_FILE_MACHINE_AMD64) << Narrow(program);
  // Its entry where 64-bit Windows lists 64-bit programs, and none under WOW6432Node.
  EXPECT_EQ(ReadString(kUninstallKey, "InstallLocation", KEY_WOW64_64KEY), Narrow(kDefaultFolder));
  EXPECT_FALSE(KeyExists(kUninstallKey, KEY_WOW64_32KEY));
  EXPECT_TRUE(KeyExists(kSettingsKey, KEY_WOW64_64KEY));
  EXPECT_FALSE(KeyExists(kSettingsKey, KEY_WOW64_32KEY));
#else
  EXPECT_EQ(MachineOf(kDefaultFolder + L"Lumorix.exe"), IMAGE_FILE_MACHINE_I386);
#endif
}

TEST_F(SilentInstallation, RegistryHoldsTheDefaultsAndTheUninstallEntry) {
  for (const SettingsDefault& value : InstallerDefaults(false)) {
    std::optional<RawValue> stored = RegistryKey::Open(HKEY_LOCAL_MACHINE, value.key, KEY_READ).Read(value.name);
    ASSERT_TRUE(stored) << value.name;
    EXPECT_EQ(stored->type, value.value.type) << value.name;
    EXPECT_EQ(stored->data, value.value.data) << value.name;
  }
  // Only administrators change the defaults every user starts from.
  for (const char* key : {kSettingsKey, kAudioKey, kColorKey, kVideoKey, kPlayListKey})
    EXPECT_FALSE(UsersMayChange(HKEY_LOCAL_MACHINE, key)) << key;
  EXPECT_FALSE(ReadString(kSettingsKey, "Language"));
  EXPECT_FALSE(ReadString(kSettingsKey, "Skin"));
  EXPECT_EQ(ReadString(kUninstallKey, "DisplayName"), "Lumorix");
  EXPECT_EQ(ReadString(kUninstallKey, "UninstallString"), "\"C:\\Program Files\\Vantrel\\Lumorix\\Uninstall.exe\"");
  EXPECT_EQ(ReadString(kUninstallKey, "InstallLocation"), Narrow(kDefaultFolder));
  EXPECT_EQ(ReadInteger(kUninstallKey, "NoModify"), 1);
  EXPECT_EQ(ReadInteger(kUninstallKey, "NoRepair"), 1);
  EXPECT_EQ(ReadString(kUninstallKey, "DisplayIcon"), "C:\\Program Files\\Vantrel\\Lumorix\\Lumorix.exe");
  EXPECT_EQ(ReadString(kUninstallKey, "DisplayVersion"), "1.1");
  EXPECT_EQ(ReadString(kUninstallKey, "Publisher"), "Vantrel");
  std::optional<int32_t> size = ReadInteger(kUninstallKey, "EstimatedSize");
  ASSERT_TRUE(size);
  EXPECT_GT(*size, static_cast<int32_t>(FileBytes(Build("setup/payload-programs/Lumorix.exe")).size() / 1024));
}

TEST_F(SilentInstallation, ShortcutsPointAtTheInstalledProgramsWithTheFolderAsWorkingFolder) {
  const std::wstring menu = ProgramsFolder() + L"\\Vantrel\\Lumorix";
  LinkInfo player = ReadLink(menu + L"\\Lumorix.lnk");
  EXPECT_EQ(player.target, kDefaultFolder + L"Lumorix.exe");
  EXPECT_EQ(player.workingFolder, kDefaultFolder);
  LinkInfo uninstall = ReadLink(menu + L"\\Uninstall.lnk");
  EXPECT_EQ(uninstall.target, kDefaultFolder + L"Uninstall.exe");
  EXPECT_EQ(uninstall.workingFolder, kDefaultFolder);
  LinkInfo desktop = ReadLink(DesktopFolder() + L"\\Lumorix.lnk");
  EXPECT_EQ(desktop.target, kDefaultFolder + L"Lumorix.exe");
  EXPECT_EQ(desktop.workingFolder, kDefaultFolder);
  // The links are made in the installation folder and only copied out.
  EXPECT_FALSE(Exists(kDefaultFolder + L"Lumorix.lnk"));
  EXPECT_FALSE(Exists(kDefaultFolder + L"Uninstall.lnk"));
}

TEST_F(SilentInstallation, LogLineByLineAndNoBatchFile) {
  std::vector<std::string> expectedLog;
  for (const auto& [name, built] : PayloadFiles()) expectedLog.push_back(name);
  const std::string menu = Narrow(ProgramsFolder()) + "\\Vantrel\\Lumorix";
  expectedLog.push_back(menu + "\\Lumorix.lnk");
  expectedLog.push_back(menu + "\\Uninstall.lnk");
  expectedLog.push_back(Narrow(DesktopFolder()) + "\\Lumorix.lnk");
  EXPECT_EQ(FileLines(kDefaultFolder + L"Uninstall.log"), expectedLog);
  EXPECT_FALSE(Exists(kDefaultFolder + L"Uninstall.bat"));
  EXPECT_FALSE(Exists(kDefaultFolder + L"UD.bat"));
}

TEST_F(SilentInstallation, InstalledPlayerStartsFromItsStartMenuShortcutAndFindsItsSkin) {
  ASSERT_EQ(FindWindowW(L"TLumorixMainForm", nullptr), nullptr);
  // The installed skin, chosen as a user would from the Skins menu.
  test::WriteSetting(kSettingsKey, "Skin", EncodeString(Narrow(kDefaultFolder) + "Skins\\Radorur.skn\\Skin.ini"));
  std::wstring link = ProgramsFolder() + L"\\Vantrel\\Lumorix\\Lumorix.lnk";
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOCLOSEPROCESS;
  execute.lpFile = link.c_str();
  execute.nShow = SW_SHOWNORMAL;
  ASSERT_TRUE(ShellExecuteExW(&execute));
  if (execute.hProcess) CloseHandle(execute.hProcess);
  HWND player = nullptr;
  ASSERT_TRUE(
      PumpUntil([&] { return (player = FindWindowW(L"TLumorixMainForm", nullptr)) != nullptr; }, milliseconds(30000)));
  DWORD processId = 0;
  GetWindowThreadProcessId(player, &processId);
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  wchar_t image[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  ASSERT_TRUE(QueryFullProcessImageNameW(process.Get(), 0, image, &length));
  EXPECT_EQ(_wcsicmp(image, (kDefaultFolder + L"Lumorix.exe").c_str()), 0) << image;

  // Its settings window, as the tray's "Settings" shows it, wears the skin's colour.
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(player, WM_USER + 100, 1, 0, SMTO_NORMAL, 10000, &answer);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(player); }, milliseconds(10000)));
  PumpFor(milliseconds(500));
  POINT corner{3, 3};
  ClientToScreen(player, &corner);
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, corner.x, corner.y);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(colour, RGB(0xBF, 0xBF, 0xC1));
  EXPECT_EQ(FindWindowW(L"#32770", L"Lumorix - settings"), nullptr);  // no failure box
}

TEST_F(SilentInstallation, UninstallFromAStrangersFolderWhileThePlayerRunsSparesTheStrangersFiles) {
  // What the player may leave: its start-up shortcut.
  WriteFileText(StartUpFolder() + L"\\Lumorix.lnk", "link");
  // A stranger's folder on Q: is current, holding files of the same names
  // and a log that lists the stranger's own files.
  const std::wstring stranger = L"Q:\\stranger\\";
  RemoveTree(stranger);
  std::filesystem::create_directories(UnixOf(stranger));
  WriteFileText(stranger + L"Uninstall.exe", "stranger's program");
  WriteFileText(stranger + L"Uninstall.log", "letter.txt\r\nQ:\\stranger\\letter.txt\r\n");
  WriteFileText(stranger + L"letter.txt", "stranger's letter");
  HWND player = FindWindowW(L"TLumorixMainForm", nullptr);
  EXPECT_NE(player, nullptr) << "the player started from its shortcut should still run";

  std::optional<std::string> command = ReadString(kUninstallKey, "UninstallString");
  ASSERT_TRUE(command);
  EXPECT_EQ(RunUninstall(Widen(*command), stranger), std::optional<DWORD>(0));

  for (const wchar_t* file : {L"Uninstall.exe", L"Uninstall.log", L"letter.txt"})
    EXPECT_TRUE(Exists(stranger + file)) << Narrow(file);
  std::vector<uint8_t> program = FileBytes(stranger + L"Uninstall.exe");
  EXPECT_EQ(std::string(program.begin(), program.end()), "stranger's program");
  EXPECT_FALSE(IsWindow(player));  // asked to end, and it did

  // Product files, folders, keys and shortcuts are gone; the folder goes
  // once the uninstaller has ended, through its copy in the temporary folder.
  EXPECT_TRUE(PumpUntil([] { return !Exists(kDefaultFolder); }, milliseconds(20000)));
  EXPECT_TRUE(Exists(L"C:\\Program Files\\Vantrel"));  // never recorded as the product's
  EXPECT_FALSE(Exists(ProgramsFolder() + L"\\Vantrel"));
  EXPECT_FALSE(Exists(DesktopFolder() + L"\\Lumorix.lnk"));
  EXPECT_FALSE(Exists(StartUpFolder() + L"\\Lumorix.lnk"));
  for (const char* key : {kAudioKey, kColorKey, kVideoKey, kPlayListKey}) EXPECT_FALSE(KeyExists(key)) << key;
  // The entry goes with the uninstaller, once the folder is gone.
  EXPECT_TRUE(PumpUntil([] { return !KeyExists(kUninstallKey); }, milliseconds(20000)));
  for (const char* value : {"Language", "Replace Screen Saver", "Skin", "StartUp"})
    EXPECT_FALSE(ReadString(kSettingsKey, value).has_value() || ReadInteger(kSettingsKey, value).has_value()) << value;
  EXPECT_FALSE(RegistryKey::Open(HKEY_CURRENT_USER, kSettingsKey, KEY_READ)) << "this user's settings go too";
  EXPECT_TRUE(KeyExists(kSettingsKey));  // the machine's key itself stays
  RemoveTree(stranger);
}

TEST(SilentRefusal, DriveRootRelativeNetworkAndOccupiedFoldersEndWithCode2AndNothingWritten) {
  const std::wstring occupied = L"C:\\Occupied\\";
  const std::wstring strangers = L"C:\\StrangersTool\\";
  RemoveTree(occupied);
  RemoveTree(strangers);
  std::filesystem::create_directories(UnixOf(occupied));
  std::filesystem::create_directories(UnixOf(strangers));
  WriteFileText(occupied + L"notes.txt", "mine");
  WriteFileText(strangers + L"Uninstall.exe", "stranger's uninstaller");
  (void)RegDeleteKeyW(HKEY_LOCAL_MACHINE, Widen(kUninstallKey).c_str());
  for (const wchar_t* folder :
       {L"C:\\", L"Apps\\Lumorix", L"\\\\server\\share\\Lumorix", L"C:\\Occupied", L"\"C:\\StrangersTool\\\""}) {
    ChildProcess setup(SetupProgram(), L"/S /D=" + std::wstring(folder), Build("bin"));
    EXPECT_EQ(setup.WaitForExit(milliseconds(30000)), std::optional<DWORD>(2)) << Narrow(folder);
  }
  EXPECT_FALSE(Exists(L"C:\\Uninstall.log"));
  EXPECT_FALSE(Exists(Build("bin/Apps")));
  EXPECT_FALSE(Exists(occupied + L"Uninstall.log"));
  EXPECT_EQ(FileBytes(strangers + L"Uninstall.exe").size(), std::string("stranger's uninstaller").size());
  EXPECT_FALSE(KeyExists(kUninstallKey));
  RemoveTree(occupied);
  RemoveTree(strangers);
}

// Through the window: the close question, then an installation into a typed
// folder without shortcuts, started from a folder it must not write into.
// Each starts on a machine without the product, whatever ran before it in the prefix.
class WindowInstallation : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)RegDeleteKeyW(HKEY_LOCAL_MACHINE, Widen(kUninstallKey).c_str());
    RemoveTree(ProgramsFolder() + L"\\Vantrel\\");
    DeleteFileW((DesktopFolder() + L"\\Lumorix.lnk").c_str());
  }
};

TEST_F(WindowInstallation, CloseBeforeStartAsksAndOnlyYesEndsWithNothingCreated) {
  const std::wstring folder = L"C:\\Apps\\Never\\";
  ChildProcess setup(SetupProgram(), L"/D=" + folder, Build("bin"));
  HWND window = WaitForProcessWindow(setup.Id(), L"TLumorixSetupForm", L"Lumorix Setup", milliseconds(20000));
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_CLOSE, 0, 0);
  HWND question = WaitForProcessWindow(setup.Id(), L"#32770", L"Lumorix Setup", milliseconds(10000));
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(BoxText(question), L"Do You whant to exit setup?");
  PostMessageW(question, WM_COMMAND, IDNO, 0);
  PumpUntil([&] { return !IsWindow(question); }, milliseconds(5000));
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(setup.WaitForExit(milliseconds(300)));

  PostMessageW(window, WM_CLOSE, 0, 0);
  question = WaitForProcessWindow(setup.Id(), L"#32770", L"Lumorix Setup", milliseconds(10000));
  ASSERT_NE(question, nullptr);
  PostMessageW(question, WM_COMMAND, IDYES, 0);
  // Cancelled by the user, as the package manager reads the code.
  EXPECT_EQ(setup.WaitForExit(milliseconds(10000)), std::optional<DWORD>(4));
  EXPECT_FALSE(Exists(folder));
  EXPECT_FALSE(KeyExists(kUninstallKey));
}

TEST_F(WindowInstallation, TypedFolderWithoutShortcutsFromAFolderItLeavesAlone) {
  // Wine's user is root here, whom no folder refuses; the installer writes
  // nothing into its current folder at all, which is what makes a read-only
  // one harmless, and that is checked.
  const std::wstring current = L"Q:\\current\\";
  RemoveTree(current);
  std::filesystem::create_directories(UnixOf(current));
  const std::wstring folder = L"C:\\Apps\\Lumorix Window\\";
  RemoveTree(folder);
  WindowRun run = InstallThroughWindow(L"", current, L"\"C:\\Apps\\Lumorix Window\"", false);  // pasted with quotes
  EXPECT_EQ(run.closingText, L"Thank You for using\nLumorix!");
  EXPECT_EQ(run.exitCode, std::optional<DWORD>(0));
  EXPECT_TRUE(std::filesystem::is_empty(UnixOf(current)));
  EXPECT_TRUE(Exists(folder + L"Lumorix.exe"));

  std::vector<std::string> log = FileLines(folder + L"Uninstall.log");
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "Uninstall.exe");  // archive files only
  EXPECT_FALSE(Exists(ProgramsFolder() + L"\\Vantrel"));
  EXPECT_FALSE(Exists(DesktopFolder() + L"\\Lumorix.lnk"));
  EXPECT_EQ(ReadString(kUninstallKey, "UninstallString"), "\"C:\\Apps\\Lumorix Window\\Uninstall.exe\"");

  // Closing the uninstaller's window removes nothing.
  EXPECT_EQ(RunUninstall(L"\"C:\\Apps\\Lumorix Window\\Uninstall.exe\"", L"C:\\", false), std::optional<DWORD>(1));
  for (const wchar_t* file : {L"Lumorix.exe", L"Uninstall.exe", L"Uninstall.log"})
    EXPECT_TRUE(Exists(folder + file)) << Narrow(file);
  EXPECT_TRUE(KeyExists(kUninstallKey));

  EXPECT_EQ(RunUninstall(L"\"C:\\Apps\\Lumorix Window\\Uninstall.exe\"", L"C:\\"), std::optional<DWORD>(0));
  EXPECT_TRUE(PumpUntil([&] { return !Exists(folder); }, milliseconds(20000)));
  EXPECT_TRUE(Exists(L"C:\\Apps"));
  EXPECT_TRUE(PumpUntil([] { return !KeyExists(kUninstallKey); }, milliseconds(20000)));
  RemoveTree(L"C:\\Apps\\");
  RemoveTree(current);
}

namespace {

// A copy of the installer whose payload is `archive`.
std::wstring InstallerCarrying(const std::vector<uint8_t>& archive, const std::wstring& name) {
  std::wstring copy = TempFolder() + name;
  if (!CopyFileW(SetupProgram().c_str(), copy.c_str(), FALSE)) return L"";
  HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
  if (!update) return L"";
  bool replaced = UpdateResourceW(update, MAKEINTRESOURCEW(10), L"RCD", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                  const_cast<uint8_t*>(archive.data()), static_cast<DWORD>(archive.size()));
  if (!EndUpdateResourceW(update, !replaced) || !replaced) return L"";
  return copy;
}

// The built payload with the checksum one entry's local header records spoiled.
std::vector<uint8_t> PayloadWithDamagedEntry(const std::string& entryName) {
  std::vector<uint8_t> archive = FileBytes(Build("setup/payload.zip"));
  std::string bytes(archive.begin(), archive.end());
  size_t name = bytes.find(entryName);  // the first hit is the local header's copy
  if (name == std::string::npos || name < 30) return {};
  archive[name - 30 + 14] ^= 0xFF;
  return archive;
}

}  // namespace

TEST(DamagedPayload, TheClosingBoxNamesTheFileThatFailedInsteadOfThanking) {
  std::wstring installer = InstallerCarrying(PayloadWithDamagedEntry("Languages/Russian.ini"), L"DamagedSetup.exe");
  ASSERT_FALSE(installer.empty());
  const std::wstring folder = L"C:\\Damaged\\Lumorix\\";
  RemoveTree(L"C:\\Damaged\\");
  WindowRun run;
  {
    ChildProcess setup(installer, L"/D=" + folder, Build("bin"));
    HWND window = WaitForProcessWindow(setup.Id(), L"TLumorixSetupForm", L"Lumorix Setup", milliseconds(20000));
    ASSERT_NE(window, nullptr);
    SendMessageW(FindControl(window, L"Button", L"I Agree"), BM_CLICK, 0, 0);
    SendMessageW(FindControl(window, L"Button", L"Add ShortCut to Start Menu"), BM_CLICK, 0, 0);
    SendMessageW(FindControl(window, L"Button", L"Add ShorCut to Desktop"), BM_CLICK, 0, 0);
    PostMessageW(FindControl(window, L"Button", L"Start"), BM_CLICK, 0, 0);
    HWND box = WaitForProcessWindow(setup.Id(), L"#32770", L"Lumorix Setup", milliseconds(60000));
    ASSERT_NE(box, nullptr);
    run.closingText = BoxText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    run.exitCode = setup.WaitForExit(milliseconds(20000));
  }
  EXPECT_EQ(run.closingText.find(L"Thank You"), std::wstring::npos) << Narrow(run.closingText);
  EXPECT_NE(run.closingText.find(folder + L"Languages\\Russian.ini"), std::wstring::npos) << Narrow(run.closingText);
  EXPECT_NE(run.closingText.find(L"checksum"), std::wstring::npos) << Narrow(run.closingText);
  EXPECT_EQ(run.exitCode, std::optional<DWORD>(1));
  // The rest landed, and the uninstaller can remove it: the log lists every file.
  EXPECT_TRUE(Exists(folder + L"Lumorix.exe"));
  EXPECT_FALSE(Exists(folder + L"Languages\\Russian.ini"));
  EXPECT_EQ(FileLines(folder + L"Uninstall.log")[1], "Languages\\Russian.ini");
  EXPECT_TRUE(KeyExists(kUninstallKey));
  ASSERT_TRUE(RunUninstall(L"\"C:\\Damaged\\Lumorix\\Uninstall.exe\"", L"C:\\"));
  EXPECT_TRUE(PumpUntil([] { return !KeyExists(kUninstallKey); }, milliseconds(20000)));
  RemoveTree(L"C:\\Damaged\\");
  (void)DeleteFileW(installer.c_str());
}

TEST(DamagedPayload, AnUnreadableArchiveInstallsNothingAndTheSilentRunFails) {
  std::vector<uint8_t> garbage(4096, 0x42);
  std::wstring installer = InstallerCarrying(garbage, L"GarbageSetup.exe");
  ASSERT_FALSE(installer.empty());
  const std::wstring folder = L"C:\\Garbage\\Lumorix\\";
  RemoveTree(L"C:\\Garbage\\");
  (void)RegDeleteKeyW(HKEY_LOCAL_MACHINE, Widen(kUninstallKey).c_str());
  ChildProcess setup(installer, L"/S /D=" + folder, Build("bin"));
  EXPECT_EQ(setup.WaitForExit(milliseconds(30000)), std::optional<DWORD>(1));
  EXPECT_FALSE(Exists(folder + L"Uninstall.log"));
  EXPECT_FALSE(KeyExists(kUninstallKey));
  EXPECT_TRUE(TempArchivesLeft().empty());
  RemoveTree(L"C:\\Garbage\\");
  (void)DeleteFileW(installer.c_str());
}

// The uninstaller's own switches, started by hand: neither acts on what is
// not the registered installation, and the elevated part leaves the user's
// own things alone (in an administrator's profile they would be another's).
TEST(UninstallerParts, TheFolderRemovalTakesOnlyTheRegisteredFolder) {
  const std::wstring notOurs = L"C:\\NotOurs\\";
  RemoveTree(notOurs);
  WriteFileText(notOurs + L"Uninstall.exe", "another program's uninstaller");
  WriteFileText(notOurs + L"Uninstall.log", "its log");
  ChildProcess removal(Build("bin/Uninstall.exe"), L"/RemoveFolder 0 0 \"" + notOurs + L"\\\"", Build("bin"));
  EXPECT_EQ(removal.WaitForExit(milliseconds(20000)), std::optional<DWORD>(1));
  EXPECT_EQ(FileBytes(notOurs + L"Uninstall.exe").size(), std::string("another program's uninstaller").size());
  EXPECT_TRUE(Exists(notOurs + L"Uninstall.log"));
  RemoveTree(notOurs);
}

TEST(UninstallerParts, TheElevatedPartRemovesTheMachinesAndLeavesTheUsersOwn) {
  ForgetInstallations();
  const std::wstring folder = L"C:\\Apps\\Parts\\Lumorix\\";
  RemoveTree(L"C:\\Apps\\Parts\\");
  ChildProcess setup(SetupProgram(), L"/S /D=" + folder, Build("bin"));
  ASSERT_EQ(setup.WaitForExit(milliseconds(120000)), std::optional<DWORD>(0));
  SeedInstallerDefaults();
  WriteFileText(StartUpFolder() + L"\\Lumorix.lnk", "the user's start-up shortcut");
  WritePlayerPlayList({"blue.avi"});

  ChildProcess machine(folder + L"Uninstall.exe", L"/Machine 0", L"C:\\");
  EXPECT_EQ(machine.WaitForExit(milliseconds(60000)), std::optional<DWORD>(0));
  EXPECT_TRUE(PumpUntil([&] { return !Exists(folder); }, milliseconds(20000)));
  EXPECT_TRUE(PumpUntil([] { return !KeyExists(kUninstallKey); }, milliseconds(20000)));
  EXPECT_FALSE(KeyExists(kAudioKey));
  EXPECT_FALSE(Exists(ProgramsFolder() + L"\\Vantrel"));
  // The user's own is for the user's part, in their own profile.
  EXPECT_TRUE(RegistryKey::Open(HKEY_CURRENT_USER, kAudioKey, KEY_READ));
  EXPECT_TRUE(Exists(StartUpFolder() + L"\\Lumorix.lnk"));
  EXPECT_EQ(PlayListNames(UserPlayListFile()), std::vector<std::string>{"blue.avi"});
  DeleteFileW((StartUpFolder() + L"\\Lumorix.lnk").c_str());
  ForgetInstallations();
  RemoveTree(L"C:\\Apps\\Parts\\");
}
