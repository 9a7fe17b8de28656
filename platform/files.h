#pragma once
// File-system helpers of the Windows programs.
#include <string>
#include <vector>

namespace lumorix {

// The folder of the running program file, with a final backslash.
std::wstring ProgramFolder();
// The running program's full file name.
std::wstring ProgramFileName();
bool FileExists(const std::wstring& path);
// Names (not paths) of the directory entries matching `pattern`, in the file system's order.
std::vector<std::wstring> ListDirectory(const std::wstring& pattern);

}  // namespace lumorix
