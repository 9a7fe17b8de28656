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

// `LumorixSetup.exe /S [/D=folder]`: silent with the default options, into
// the given folder. "/D=" takes the rest of the command line, blanks
// included, as the administrators' installers do.
struct SetupCommandLine {
  bool valid = true;
  bool silent = false;
  std::optional<std::wstring> folder;
};
SetupCommandLine ParseSetupCommandLine(std::wstring_view arguments);

}  // namespace lumorix
