#pragma once
// The installer's and the uninstaller's rules that need no window: the
// installation folder, the folder list, the progress arithmetic and the
// silent command line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumorix {

// The drive of the system folder (its first three characters) followed by
// the fixed "Program Files\Vantrel\Lumorix\".
std::wstring DefaultInstallFolder(std::wstring_view systemFolder);

// The folder box after "Brouse": the picked folder with a final "\" (or the
// box unchanged when the dialog was cancelled), then "Lumorix\" appended
// unless the text holds "Lumorix" (case-sensitive).
std::wstring BrouseResult(const std::wstring& folderText, const std::optional<std::wstring>& picked);

// Every file name is made by appending to the folder, so it must end in "\".
std::wstring CompleteFolder(std::wstring folder);

// The folder list's order: by byte value with the ASCII letters folded to
// lower case. Writing the list backwards names each folder before the
// folder holding it.
bool FolderListLess(const std::wstring& a, const std::wstring& b);
void SortFolderList(std::vector<std::wstring>& folders);

// What the uninstall entry's "UninstallString" holds: the uninstaller's path
// in quotes, as the path may hold blanks. Started directly, its manifest
// asks for the administrator's rights that removing it needs.
std::wstring UninstallCommand(const std::wstring& installFolder);

// The lines of "Uninstall.log" (CR LF or LF ends, the last one may have
// none), empty lines left out.
std::vector<std::string> LogLines(std::string_view text);

// A progress bar position of 0..1000 for `done` of `total` bytes, truncated;
// 0 when the total is not positive (a damaged entry records no size).
int32_t ProgressPosition(int64_t done, int64_t total);

// The size in kilobytes that the list of installed programs shows.
uint32_t EstimatedSizeKb(int64_t bytes);

// Whom an installation is for: every user of the machine (an administrator's
// installation in program files) or only the user who runs the installer
// (no administrator, in that user's own programs folder and registry hive).
enum class InstallScope { AllUsers, CurrentUser };

// The window's three options.
struct InstallOptions {
  bool startUpWithWindows = false;
  bool startMenuShortcuts = true;
  bool desktopShortcut = true;
};

// The installer's exit codes; the package manager's manifest says what each means.
enum SetupExitCode : int {
  kSetupInstalled = 0,
  kSetupIncomplete = 1,     // something could not be written
  kSetupRefused = 2,        // an unknown argument, or a folder that cannot be used
  kSetupPlayerRunning = 3,  // the running Lumorix did not end: nothing was installed
  kSetupCancelled = 4,      // the user declined the administrator's consent, or closed the window
};

// `LumorixSetup.exe [/S] [/AllUsers | /CurrentUser] [/D=folder]`: silent with
// the default options, for everyone (the default) or for the user alone, into
// the given folder. "/D=" takes the rest of the command line, blanks
// included, as the administrators' installers do. The installer starts its
// own administrator's part with `/Machine WINDOW OPTIONS /D=folder`
// (ElevatedPartArguments): an installation for everyone that reports its
// progress to WINDOW (0: to nobody).
struct ElevatedPart {
  uint64_t window = 0;
  InstallOptions options;
};
struct SetupCommandLine {
  bool valid = true;
  bool silent = false;
  InstallScope scope = InstallScope::AllUsers;
  std::optional<std::wstring> folder;
  std::optional<ElevatedPart> elevatedPart;
};
SetupCommandLine ParseSetupCommandLine(std::wstring_view arguments);
std::wstring ElevatedPartArguments(uint64_t window, const InstallOptions& options, const std::wstring& folder);

}  // namespace lumorix
