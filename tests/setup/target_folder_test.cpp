// The installation folder's protection and the rules for taking an existing
// one, through InstallFrom with the built payload. Wine keeps no owner or
// access list for files, so a recorder stands in for the file system's
// security calls and keeps what they were given, as Windows would; where the
// file system does keep it, the folder itself is read back too.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "common/install_folder.h"
#include "common/settings_layout.h"
#include "platform/access_list.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/wine_host.h"
#include "setup/installation.h"
#include "setup/target_folder.h"
#include "tests/setup/setup_process.h"
#include "tests/support/gui_test.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/unix_side.h"

using namespace lumorix;
using namespace lumorix::setup;

namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumorix";

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
  return text;
}

std::wstring FinalPathOf(HANDLE handle) {
  wchar_t path[MAX_PATH * 2] = {};
  DWORD length = GetFinalPathNameByHandleW(handle, path, MAX_PATH * 2, FILE_NAME_NORMALIZED);
  std::wstring text(path, length);
  return text.starts_with(L"\\\\?\\") ? text.substr(4) : text;
}

std::wstring DescriptorText(PSECURITY_DESCRIPTOR descriptor) {
  LPWSTR text = nullptr;
  if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(
          descriptor, SDDL_REVISION_1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &text, nullptr))
    return L"";
  std::wstring copy = text;
  LocalFree(text);
  return copy;
}

// What the folders were given, by path.
class RecordedSecurity : public FolderSecurity {
 public:
  bool CreateFolder(const std::wstring& path, SECURITY_DESCRIPTOR* descriptor) override {
    if (!SystemFolderSecurity().CreateFolder(path, descriptor)) return false;
    created.push_back(path);
    given[Lower(path)] = DescriptorText(descriptor);
    return true;
  }
  bool SetOwnerAndList(HANDLE folder, PSID owner, PACL list) override {
    if (!SystemFolderSecurity().SetOwnerAndList(folder, owner, list)) return false;
    SECURITY_DESCRIPTOR descriptor{};
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorOwner(&descriptor, owner, FALSE);
    SetSecurityDescriptorDacl(&descriptor, TRUE, list, FALSE);
    SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    protectedThroughHandle.push_back(FinalPathOf(folder));
    given[Lower(FinalPathOf(folder))] = DescriptorText(&descriptor);
    return true;
  }
  std::wstring OwnerOf(HANDLE folder) override {
    const std::wstring path = Lower(FinalPathOf(folder));
    if (auto preset = owners.find(path); preset != owners.end()) return preset->second;
    if (auto recorded = given.find(path); recorded != given.end()) {
      // "O:BAD:..." names the owner by its alias; the SID it stands for.
      PSECURITY_DESCRIPTOR descriptor = nullptr;
      PSID owner = nullptr;
      BOOL defaulted = FALSE;
      LPWSTR text = nullptr;
      std::wstring sid;
      if (ConvertStringSecurityDescriptorToSecurityDescriptorW(recorded->second.c_str(), SDDL_REVISION_1, &descriptor,
                                                               nullptr) &&
          GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) && ConvertSidToStringSidW(owner, &text))
        sid = text;
      LocalFree(text);
      LocalFree(descriptor);
      return sid;
    }
    return SystemFolderSecurity().OwnerOf(folder);
  }

  std::vector<std::wstring> created;
  std::vector<std::wstring> protectedThroughHandle;
  std::map<std::wstring, std::wstring> given;   // lower-case path: SDDL
  std::map<std::wstring, std::wstring> owners;  // lower-case path: owner SID, as a test sets it
};

// The program-files folder's protection, as an administrator reading it would judge it.
void ExpectProgramFilesProtection(const std::wstring& sddl, const std::wstring& where) {
  SCOPED_TRACE(Narrow(where) + ": " + Narrow(sddl));
  EXPECT_TRUE(sddl.starts_with(L"O:BA")) << "owned by the administrators";
  EXPECT_NE(sddl.find(L"D:P"), std::wstring::npos) << "nothing passed down from the parent";
  for (const wchar_t* entry : {L"(A;OICI;FA;;;BA)", L"(A;OICI;FA;;;SY)", L"(A;OICI;0x1200a9;;;BU)"})
    EXPECT_NE(sddl.find(entry), std::wstring::npos) << Narrow(entry);
  size_t entries = 0;
  for (size_t at = sddl.find(L"(A;"); at != std::wstring::npos; at = sddl.find(L"(A;", at + 1)) ++entries;
  EXPECT_EQ(entries, 3u) << "no right for anybody else";
}

std::string Payload() { return Narrow(test::WindowsPath(LUMORIX_BUILD_DIR "/setup/payload.zip")); }

InstallOutcome Install(const std::wstring& folder, FolderSecurity& security,
                       InstallScope scope = InstallScope::AllUsers) {
  NoView view;
  TInstallState state;
  state.InstallFolder = folder;
  state.scope = scope;
  state.options = {false, false, false};
  state.view = &view;
  state.security = &security;
  return InstallFrom(Payload(), state);
}

void Forget(const std::wstring& tree) {
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(tree), ignored);
  (void)RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
  (void)RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKey);
  test::DeleteSettingsTree();
}

std::wstring ThisUsersSid() {
  BYTE sid[SECURITY_MAX_SID_SIZE];
  LPWSTR text = nullptr;
  if (!platform::CurrentUserSid(sid) || !ConvertSidToStringSidW(sid, &text)) return L"";
  std::wstring copy = text;
  LocalFree(text);
  return copy;
}

void RemoveTreeQuietly(const std::wstring& tree) {
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(tree), ignored);
}

void WriteText(const std::wstring& path, const std::string& text) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << text;
}

}  // namespace

TEST(InstallFolderSecurity, EveryFolderMadeOutsideProgramFilesIsProtectedFromItsFirstMoment) {
  Forget(L"C:\\Outside");
  RecordedSecurity security;
  InstallOutcome outcome = Install(L"C:\\Outside\\Deep\\Lumorix", security);
  ASSERT_TRUE(outcome.Complete()) << Narrow(outcome.message);
  EXPECT_TRUE(test::Exists(L"C:\\Outside\\Deep\\Lumorix\\Lumorix.exe"));
  EXPECT_EQ(security.created,
            (std::vector<std::wstring>{L"C:\\Outside", L"C:\\Outside\\Deep", L"C:\\Outside\\Deep\\Lumorix"}));
  EXPECT_TRUE(security.protectedThroughHandle.empty()) << "made with it: nothing to apply afterwards";
  for (const std::wstring& folder : security.created)
    ExpectProgramFilesProtection(security.given[Lower(folder)], folder);
  // Where the file system keeps owners and rights, the folder says the same itself.
  if (!platform::RunningOnWine()) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoW(L"C:\\Outside\\Deep\\Lumorix", SE_FILE_OBJECT,
                                    OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                                    nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    ExpectProgramFilesProtection(DescriptorText(descriptor), L"read back");
    LocalFree(descriptor);
  }

  // Installed again: the registered folder is taken and protected anew
  // through the handle it was judged by.
  outcome = Install(L"C:\\Outside\\Deep\\Lumorix\\", security);
  ASSERT_TRUE(outcome.Complete()) << Narrow(outcome.message);
  ASSERT_EQ(security.protectedThroughHandle.size(), 1u);
  EXPECT_TRUE(SamePath(security.protectedThroughHandle[0], L"C:\\Outside\\Deep\\Lumorix"));
  ExpectProgramFilesProtection(security.given[L"c:\\outside\\deep\\lumorix"], L"again");
  Forget(L"C:\\Outside");
}

TEST(InstallFolderSecurity, AnExistingFolderIsTakenOnlyAsTheRegisteredInstallationLeftIt) {
  const std::wstring folder = L"C:\\Existing\\Lumorix\\";
  Forget(L"C:\\Existing");
  Forget(L"C:\\Elsewhere");
  RecordedSecurity security;
  ASSERT_TRUE(Install(folder, security).Complete());
  std::filesystem::create_directories(std::filesystem::path(L"C:\\Existing\\Other"));
  std::filesystem::create_directories(std::filesystem::path(L"C:\\Elsewhere"));
  WriteText(L"C:\\Elsewhere\\picture.png", "someone's picture");
  struct Case {
    const char* name;
    std::function<void()> make, undo;
    std::wstring folder;
    const wchar_t* said;
  };
  const std::wstring lower = Lower(L"C:\\Existing\\Lumorix");
  const Case cases[] = {
      {"owned by a standard user", [&] { security.owners[lower] = L"S-1-5-21-1-2-3-1001"; },
       [&] { security.owners.erase(lower); }, folder, L"not owned by the administrators"},
      {"a stranger's file inside", [&] { WriteText(folder + L"notes.txt", "mine"); },
       [&] { DeleteFileW((folder + L"notes.txt").c_str()); }, folder, L"not part of Lumorix"},
      {"a second name of a file elsewhere",
       [&] {
         ASSERT_TRUE(CreateHardLinkW((folder + L"Skins\\Radorur.skn\\Extra.png").c_str(), L"C:\\Elsewhere\\picture.png",
                                     nullptr));
       },
       [&] { DeleteFileW((folder + L"Skins\\Radorur.skn\\Extra.png").c_str()); }, folder, L"hard link"},
      {"a link inside to another folder",
       [&] { ASSERT_TRUE(test::MakeUnixLink(L"C:\\Elsewhere", folder + L"Languages\\More")); },
       [&] { ASSERT_TRUE(test::RemoveUnixLink(folder + L"Languages\\More")); }, folder, L"is a link"},
      {"no installation's folder", [] {}, [] {}, L"C:\\Existing\\Other\\", L"not the installed Lumorix's"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.make();
    InstallOutcome outcome = Install(c.folder, security);
    c.undo();
    EXPECT_FALSE(outcome.Complete());
    EXPECT_TRUE(outcome.result == InstallResult::FolderRefused);
    EXPECT_NE(outcome.message.find(c.said), std::wstring::npos) << Narrow(outcome.message);
  }
  EXPECT_EQ(test::FileBytes(L"C:\\Elsewhere\\picture.png").size(), std::string("someone's picture").size());
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(L"C:\\Existing\\Other")));
  EXPECT_TRUE(Install(folder, security).Complete()) << "as it was left, the installation is taken";
  Forget(L"C:\\Existing");
  Forget(L"C:\\Elsewhere");
}

TEST(InstallFolderSecurity, ALinkAtTheFolderOrAParentIsRefusedAndNothingLandsBehindIt) {
  for (const wchar_t* tree : {L"C:\\RealParent", L"C:\\RealFolder"}) {
    Forget(tree);
    std::filesystem::create_directories(std::filesystem::path(tree));
  }
  // Wine cannot make junctions or Windows symbolic links; its Unix links,
  // which it follows without a word, stand in.
  ASSERT_TRUE(test::MakeUnixLink(L"C:\\RealParent", L"C:\\LinkedParent"));
  ASSERT_TRUE(test::MakeUnixLink(L"C:\\RealFolder", L"C:\\LinkedFolder"));
  RecordedSecurity security;
  for (const wchar_t* folder : {L"C:\\LinkedParent\\Lumorix", L"C:\\LinkedFolder"}) {
    InstallOutcome outcome = Install(folder, security);
    EXPECT_TRUE(outcome.result == InstallResult::FolderRefused) << Narrow(folder);
    EXPECT_NE(outcome.message.find(L"is a link to another place"), std::wstring::npos) << Narrow(outcome.message);
  }
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(L"C:\\RealParent")));
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(L"C:\\RealFolder")));
  EXPECT_TRUE(security.created.empty());
  EXPECT_TRUE(test::RemoveUnixLink(L"C:\\LinkedParent"));
  EXPECT_TRUE(test::RemoveUnixLink(L"C:\\LinkedFolder"));
  Forget(L"C:\\RealParent");
  Forget(L"C:\\RealFolder");
}

namespace {

std::vector<UINT> strangerHeard;

LRESULT CALLBACK StrangerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYENDSESSION || message == WM_ENDSESSION || message == WM_CLOSE)
    strangerHeard.push_back(message);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TEST(InstallFolderSecurity, AStrangersWindowOfThePlayersClassNeitherDelaysNorSteersTheInstaller) {
  const std::wstring folder = L"C:\\WithStranger\\Lumorix\\";
  Forget(L"C:\\WithStranger");
  RecordedSecurity security;
  ASSERT_TRUE(Install(folder, security).Complete());  // an installed player to look for
  // A window of the player's class in a process that is not the installed
  // Lumorix.exe (this test), which would never end if it were asked to.
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = StrangerProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TLumorixMainForm";
  ASSERT_TRUE(RegisterClassW(&windowClass));
  HWND stranger = CreateWindowExW(0, L"TLumorixMainForm", L"Lumorix - Settings", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(stranger, nullptr);
  // Asked, it would hold the installer up for the 20 s it waits for a
  // player to end, and the installation would then give up.
  InstallOutcome outcome = Install(folder, security);
  EXPECT_TRUE(outcome.Complete()) << Narrow(outcome.message);
  EXPECT_TRUE(strangerHeard.empty()) << "the stranger was asked to end";
  DestroyWindow(stranger);
  UnregisterClassW(L"TLumorixMainForm", GetModuleHandleW(nullptr));
  Forget(L"C:\\WithStranger");
}

TEST(InstallFolderSecurity, AUsersOwnInstallationIsTheirsOutsideTheirProfileAndTakesNoOtherScopesFolder) {
  Forget(L"C:\\Mine");
  Forget(L"C:\\Everyones");
  const std::wstring user = ThisUsersSid();
  ASSERT_FALSE(user.empty());
  RecordedSecurity security;
  // Outside the profile each folder made is the user's own from its first
  // moment: nobody but the user, SYSTEM and the administrators may change it.
  InstallOutcome outcome = Install(L"C:\\Mine\\Lumorix", security, InstallScope::CurrentUser);
  ASSERT_TRUE(outcome.Complete()) << Narrow(outcome.message);
  EXPECT_EQ(security.created, (std::vector<std::wstring>{L"C:\\Mine", L"C:\\Mine\\Lumorix"}));
  for (const std::wstring& folder : security.created) {
    const std::wstring sddl = security.given[Lower(folder)];
    SCOPED_TRACE(Narrow(folder) + ": " + Narrow(sddl));
    EXPECT_TRUE(sddl.starts_with(L"O:" + user + L"D:P")) << "owned by the user, nothing passed down";
    for (const std::wstring& entry :
         {L"(A;OICI;FA;;;" + user + L")", std::wstring(L"(A;OICI;FA;;;SY)"), std::wstring(L"(A;OICI;FA;;;BA)")})
      EXPECT_NE(sddl.find(entry), std::wstring::npos) << Narrow(entry);
    EXPECT_EQ(std::count(sddl.begin(), sddl.end(), L'('), 3) << "no right for anybody else";
  }
  // Installed again, the user's own registered folder is taken (theirs, or
  // the administrators'), and one another user owns is not.
  EXPECT_TRUE(Install(L"C:\\Mine\\Lumorix\\", security, InstallScope::CurrentUser).Complete());
  security.owners[L"c:\\mine\\lumorix"] = L"S-1-5-21-1-2-3-1001";
  outcome = Install(L"C:\\Mine\\Lumorix\\", security, InstallScope::CurrentUser);
  EXPECT_EQ(outcome.result, InstallResult::FolderRefused);
  EXPECT_NE(outcome.message.find(L"neither yours nor the administrators'"), std::wstring::npos)
      << Narrow(outcome.message);
  security.owners.clear();

  // Each scope takes only the folder its own entry names: the user's entry,
  // which any of the user's programs can write, never steers an
  // installation for everyone, nor the machine's a user's own.
  ASSERT_TRUE(Install(L"C:\\Everyones\\Lumorix", security).Complete());
  struct Case {
    const wchar_t* folder;
    InstallScope scope;
  };
  for (const Case& c : {Case{L"C:\\Everyones\\Lumorix\\", InstallScope::CurrentUser},
                        Case{L"C:\\Mine\\Lumorix\\", InstallScope::AllUsers}}) {
    outcome = Install(c.folder, security, c.scope);
    EXPECT_EQ(outcome.result, InstallResult::FolderRefused) << Narrow(c.folder);
    EXPECT_NE(outcome.message.find(L"is not the installed Lumorix's"), std::wstring::npos) << Narrow(outcome.message);
  }
  EXPECT_EQ(Widen(DecodeString("InstallLocation",
                               test::ReadSetting(Narrow(kUninstallKey), "InstallLocation", HKEY_LOCAL_MACHINE))),
            L"C:\\Everyones\\Lumorix\\");

  // Inside the profile the folders take the profile's own protection.
  security.created.clear();
  const std::wstring own = DefaultFolder(InstallScope::CurrentUser);
  ASSERT_TRUE(SamePath(own.substr(0, platform::ProfileFolder().size()), platform::ProfileFolder())) << Narrow(own);
  RemoveTreeQuietly(own);
  ASSERT_TRUE(Install(own, security, InstallScope::CurrentUser).Complete());
  EXPECT_TRUE(test::Exists(own + L"Lumorix.exe"));
  EXPECT_TRUE(security.created.empty());
  RemoveTreeQuietly(own);
  Forget(L"C:\\Mine");
  Forget(L"C:\\Everyones");
}
