#pragma once
// File-system helpers of the Windows programs.
#include <cstddef>
#include <functional>
#include <optional>
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

// The whole file; nothing when it cannot be opened or read, or is larger than `limit` bytes.
std::optional<std::string> ReadWholeFile(const std::wstring& path, size_t limit = 64 * 1024 * 1024);
// The same for a file opened for reading (`file` is its handle).
std::optional<std::string> ReadWholeOpenFile(void* file, size_t limit);

// The file's short (8.3) path, or the path unchanged where the volume keeps none.
std::wstring ShortPathOf(const std::wstring& path);
using ShortPathLookup = std::function<std::wstring(const std::wstring&)>;
// The name under which a file can be kept in a single-byte record of the
// system's ANSI code page: its own name when that has an exact ANSI form,
// else its short path when that has one; nothing otherwise, since a name
// with "?" or look-alike letters would name another file or none.
std::optional<std::string> AnsiFileName(const std::wstring& path, const ShortPathLookup& shortPath = ShortPathOf);

}  // namespace lumorix
