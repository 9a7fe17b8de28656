#pragma once
// The system's own folders, each empty when Windows cannot say.
#include <string>

namespace lumorix::platform {

// The system folder as this process sees it (SysWOW64 for a 32-bit program on 64-bit Windows).
std::wstring SystemFolder();
// The Windows folder, also on a terminal server where each user has one of their own.
std::wstring SystemWindowsFolder();
// The user's local application data folder; `create` makes it where it is missing.
std::wstring LocalAppDataFolder(bool create);

}  // namespace lumorix::platform
