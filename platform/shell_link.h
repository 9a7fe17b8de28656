#pragma once
// Shell links and the user's special folders as the shell records them.
#include <windows.h>
#include <objidl.h>

#include <string>

#include "platform/com.h"

namespace lumorix {

// Writes a shell link file; returns its IPersistFile (callers may drop it).
// Raises when the shell's link object cannot be created.
ComPtr<IPersistFile> CreateShortcut(const std::wstring& target, const std::wstring& arguments,
                                    const std::wstring& workingFolder, const std::wstring& linkFile);

// The target path a shell link file names as stored; "" when it cannot be read.
std::wstring ShortcutTarget(const std::wstring& linkFile);

// A string value of an open key, REG_EXPAND_SZ expanded; "" for anything else.
std::wstring ReadRegistryString(HKEY key, const std::string& name);

// A folder of the current user's "User shell folders" key ("Programs",
// "Desktop", "StartUp"), expanded and without NUL characters; "" when absent.
std::wstring UserShellFolder(const std::string& name);

}  // namespace lumorix
