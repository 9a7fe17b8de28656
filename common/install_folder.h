#pragma once
// Rules for the installation folder and for what the uninstaller may delete,
// portable so that they are tried on many inputs.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumorix {

// The folder text as typed or pasted: blanks around it and one pair of
// double quotes around the path taken off.
std::wstring WithoutQuotes(std::wstring_view typed);

enum class FolderProblem { None, Empty, Relative, Network, DriveRoot };

// Before normalising: a relative path ("Apps", "C:Apps", "\Apps") would be
// taken from whatever folder is current, and a network path ("\\server\x",
// "//server/x", "\\?\UNC\...") is no folder of this computer. Every other
// "\\" form is refused as well: only "X:\..." is accepted.
FolderProblem TypedFolderProblem(std::wstring_view typed);
// After normalising (a full path, "X:\..." with or without its final "\"):
// the root of a drive is no installation folder.
FolderProblem FullFolderProblem(std::wstring_view full);

// What the failure box says about a refused folder.
std::wstring FolderRefusal(FolderProblem problem, std::wstring_view folder);

// What a folder chosen for the installation already holds, from the names
// directly in it. Only the folder the uninstall entry names (`registered`)
// can hold an earlier installation: anyone may make a folder of these names.
// An earlier version's own files are the product's names and what its log
// lists (`logged`: the log's lines, relative or full).
enum class FolderContents { Empty, EarlierInstallation, StrangersUninstaller, OtherFiles };
FolderContents ClassifyFolderContents(const std::vector<std::wstring>& names, bool registered,
                                      const std::vector<std::wstring>& logged = {}, std::wstring_view folder = L"");

// Case-insensitive for ASCII letters, as the file system compares names.
bool SamePath(std::wstring_view a, std::wstring_view b);

// The full path a line of "Uninstall.log" may delete: a name relative to
// the installation folder that the payload reader would extract too (no
// "..", ".. " or "...", no drive, stream or device), or a full path
// that is inside it or one of the product's own shortcuts. Nothing for any
// other line.
std::optional<std::wstring> RemovablePath(std::wstring_view line, std::wstring_view installFolder,
                                          const std::vector<std::wstring>& ownShortcuts);

}  // namespace lumorix
