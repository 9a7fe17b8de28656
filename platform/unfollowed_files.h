#pragma once
// Files and folders opened where their path says, without following links:
// a junction, a symbolic link or a mount point at the place itself or on the
// way to it would lead an elevated program's writes and deletions elsewhere.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/handle.h"

namespace lumorix::platform {

// Opens the file or folder itself (a link is opened as the link). The
// sharing never includes deletion, so the place cannot be moved or
// replaced while the handle is held.
UniqueHandle OpenUnfollowed(const std::wstring& path, DWORD access, DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE);

// What a handle opened by OpenUnfollowed is.
struct PlaceFacts {
  bool folder = false;
  // A reparse point (junction, symbolic link, mount point), or a place that
  // is not where its path said: a link on the way was followed (Wine shows
  // its symbolic links this way only).
  bool link = false;
  DWORD links = 1;  // names the file has (hard links)
};
// Nothing when the handle cannot be asked.
std::optional<PlaceFacts> FactsOf(HANDLE handle, const std::wstring& path);

// The path with every short (8.3) part in its long form; "" when it does not exist.
std::wstring LongPath(const std::wstring& path);

// Deletes the file (a link as the link) through a handle opened without
// following, once it has shown that nothing on the way was a link; a
// read-only file is deleted too. True when it is gone or was never there.
bool DeleteUnfollowed(const std::wstring& path);

// Removes an empty folder (a link as the link) the same way.
bool RemoveFolderUnfollowed(const std::wstring& path);

// The whole of a plain file (no link, one name only) of at most `limit`
// bytes; nothing otherwise.
std::optional<std::string> ReadPlainFile(const std::wstring& path, size_t limit);

// Names directly in a folder ("." and ".." left out).
std::vector<std::wstring> NamesIn(const std::wstring& folder);

}  // namespace lumorix::platform
