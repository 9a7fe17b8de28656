// The installer's rules that need no window: folders, the folder list, the
// batch files' lines, the progress arithmetic and the silent command line.
#include "common/setup_rules.h"

#include <gtest/gtest.h>

using namespace lumorix;

namespace {

std::string Ascii(std::wstring_view text) { return std::string(text.begin(), text.end()); }

}  // namespace

TEST(InstallFolder, DefaultIsTheSystemDrivesFixedProgramFiles) {
  EXPECT_EQ(DefaultInstallFolder(L"C:\\Windows\\system32"), L"C:\\Program Files\\Vantrel\\Lumorix\\");
  EXPECT_EQ(DefaultInstallFolder(L"E:\\WINNT\\System32"), L"E:\\Program Files\\Vantrel\\Lumorix\\");
  EXPECT_EQ(DefaultInstallFolder(L""), L"C:\\Program Files\\Vantrel\\Lumorix\\") << "no system folder known";
}

TEST(InstallFolder, BrouseAppendsLumorixUnlessTheTextHoldsIt) {
  EXPECT_EQ(BrouseResult(L"D:\\Apps\\", std::nullopt), L"D:\\Apps\\Lumorix\\");
  EXPECT_EQ(BrouseResult(L"D:\\Apps\\Lumorix\\", std::nullopt), L"D:\\Apps\\Lumorix\\");
  EXPECT_EQ(BrouseResult(L"C:\\whatever\\", std::wstring(L"E:\\Tools")), L"E:\\Tools\\Lumorix\\");
  // The test is case-sensitive.
  EXPECT_EQ(BrouseResult(L"D:\\lumorix\\", std::nullopt), L"D:\\lumorix\\Lumorix\\");
  EXPECT_EQ(BrouseResult(L"", std::wstring(L"E:\\My Lumorix")), L"E:\\My Lumorix\\");
}

TEST(InstallFolder, TypedFolderIsCompletedWithABackslash) {
  EXPECT_EQ(CompleteFolder(L"D:\\Apps\\Lumorix"), L"D:\\Apps\\Lumorix\\");
  EXPECT_EQ(CompleteFolder(L"D:\\Apps\\Lumorix\\"), L"D:\\Apps\\Lumorix\\");
  EXPECT_EQ(CompleteFolder(L""), L"");
}

TEST(FolderList, SortsWithoutRegardToAsciiCase) {
  std::vector<std::wstring> folders = {L"Skins\\Radorur.skn\\", L"skins\\", L"Languages\\"};
  SortFolderList(folders);
  EXPECT_EQ(folders, (std::vector<std::wstring>{L"Languages\\", L"skins\\", L"Skins\\Radorur.skn\\"}));
}

TEST(FolderList, StartMenuFoldersOnDrivesAToLComeFirstAndAreRemovedLast) {
  std::vector<std::wstring> folders = {L"Languages\\", L"Skins\\", L"Skins\\Radorur.skn\\"};
  const std::wstring programs = L"C:\\Users\\Ann\\Start Menu\\Programs";
  folders.push_back(programs + L"\\Vantrel");
  folders.push_back(programs + L"\\Vantrel\\Lumorix");
  SortFolderList(folders);
  EXPECT_EQ(folders.front(), programs + L"\\Vantrel");
  EXPECT_EQ(folders[1], programs + L"\\Vantrel\\Lumorix");
  // On a drive after S the Start-menu folders sort last and go first.
  std::vector<std::wstring> later = {L"Languages\\", L"Skins\\", L"Skins\\Radorur.skn\\", L"T:\\Programs\\Vantrel"};
  SortFolderList(later);
  EXPECT_EQ(later.back(), L"T:\\Programs\\Vantrel");
}

TEST(UninstallEntry, CommandIsQuoted) {
  EXPECT_EQ(UninstallCommand(L"C:\\Program Files\\Vantrel\\Lumorix\\"),
            L"\"C:\\Program Files\\Vantrel\\Lumorix\\Uninstall.exe\"");
  EXPECT_EQ(EstimatedSizeKb(0), 0u);
  EXPECT_EQ(EstimatedSizeKb(1), 1u);
  EXPECT_EQ(EstimatedSizeKb(2048), 2u);
  EXPECT_EQ(EstimatedSizeKb(2049), 3u);
}

TEST(Progress, PerMilleTruncatedWith64BitProduct) {
  EXPECT_EQ(ProgressPosition(0, 100), 0);
  EXPECT_EQ(ProgressPosition(1, 3), 333);
  EXPECT_EQ(ProgressPosition(2, 3), 666);
  EXPECT_EQ(ProgressPosition(100, 100), 1000);
  // 2,000,000,000 x 1000 overflows 32 bits.
  EXPECT_EQ(ProgressPosition(2000000000, 2100000000), 952);
  // A damaged entry with no recorded size divides by nothing.
  EXPECT_EQ(ProgressPosition(32768, 0), 0);
  EXPECT_EQ(ProgressPosition(5000, 100), 1000);
}

TEST(SilentCommandLine, SlashSAndTheRestAfterSlashDIsTheFolder) {
  SetupCommandLine none = ParseSetupCommandLine(L"");
  EXPECT_TRUE(none.valid);
  EXPECT_FALSE(none.silent);
  EXPECT_FALSE(none.folder);

  SetupCommandLine silent = ParseSetupCommandLine(L" /S ");
  EXPECT_TRUE(silent.valid);
  EXPECT_TRUE(silent.silent);

  SetupCommandLine folder = ParseSetupCommandLine(L"/s /D=D:\\My Apps\\Lumorix");
  EXPECT_TRUE(folder.valid);
  EXPECT_TRUE(folder.silent);
  EXPECT_EQ(folder.folder, std::wstring(L"D:\\My Apps\\Lumorix\\"));

  EXPECT_EQ(ParseSetupCommandLine(L"/S /D=\"E:\\X Y\\\"").folder, std::wstring(L"E:\\X Y\\"));
  EXPECT_FALSE(ParseSetupCommandLine(L"/S /X").valid);
  EXPECT_FALSE(ParseSetupCommandLine(L"/S /D=").valid);
  EXPECT_FALSE(ParseSetupCommandLine(L"install").valid);
}

TEST(SilentCommandLine, ScopeSwitchesAndTheAdministratorsPartWithTheFolderLast) {
  struct Case {
    const wchar_t* line;
    bool valid;
    InstallScope scope;
    const wchar_t* folder;  // nullptr: none
  };
  const Case cases[] = {
      {L"/S /CurrentUser", true, InstallScope::CurrentUser, nullptr},
      {L"/currentuser /S", true, InstallScope::CurrentUser, nullptr},
      {L"/S /AllUsers", true, InstallScope::AllUsers, nullptr},
      // The package manager's order: mode, custom switch, location last.
      {L"/S /CurrentUser /D=C:\\Users\\Me\\My Apps", true, InstallScope::CurrentUser, L"C:\\Users\\Me\\My Apps\\"},
      // After /D= everything is the folder, a switch's look-alike too.
      {L"/S /D=C:\\X /CurrentUser", true, InstallScope::AllUsers, L"C:\\X /CurrentUser\\"},
      {L"/S /AllUsers /CurrentUser", false, InstallScope::CurrentUser, nullptr},
      {L"/S /CurrentUserX", false, InstallScope::AllUsers, nullptr},
  };
  for (const Case& c : cases) {
    SetupCommandLine parsed = ParseSetupCommandLine(c.line);
    EXPECT_EQ(parsed.valid, c.valid) << Ascii(c.line);
    if (!c.valid) continue;
    EXPECT_EQ(parsed.scope, c.scope) << Ascii(c.line);
    EXPECT_EQ(parsed.folder, c.folder ? std::optional<std::wstring>(c.folder) : std::nullopt) << Ascii(c.line);
    EXPECT_FALSE(parsed.elevatedPart) << Ascii(c.line);
  }

  // What the installer hands its administrator's part comes back as it was given.
  for (InstallOptions options : {InstallOptions{true, false, true}, InstallOptions{false, true, false}}) {
    std::wstring line = ElevatedPartArguments(1311768467463790320ull, options, L"C:\\Program Files\\V L\\");
    SetupCommandLine parsed = ParseSetupCommandLine(line);
    ASSERT_TRUE(parsed.valid) << Ascii(line);
    ASSERT_TRUE(parsed.elevatedPart) << Ascii(line);
    EXPECT_EQ(parsed.elevatedPart->window, 1311768467463790320ull);
    EXPECT_EQ(parsed.elevatedPart->options.startUpWithWindows, options.startUpWithWindows);
    EXPECT_EQ(parsed.elevatedPart->options.startMenuShortcuts, options.startMenuShortcuts);
    EXPECT_EQ(parsed.elevatedPart->options.desktopShortcut, options.desktopShortcut);
    EXPECT_EQ(parsed.folder, std::optional<std::wstring>(L"C:\\Program Files\\V L\\"));
    EXPECT_EQ(parsed.scope, InstallScope::AllUsers);
  }
  // Without its folder, with a scope of its own, or with damaged numbers it is no call at all.
  for (const wchar_t* line :
       {L"/Machine 5 3", L"/Machine 5 3 /CurrentUser /D=C:\\X", L"/Machine 5 8 /D=C:\\X", L"/Machine -5 3 /D=C:\\X",
        L"/Machine 5 /D=C:\\X", L"/Machine 99999999999999999999 1 /D=C:\\X"})
    EXPECT_FALSE(ParseSetupCommandLine(line).valid) << Ascii(line);
}
