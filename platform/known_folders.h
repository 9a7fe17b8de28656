#pragma once
// The system's own folders, each empty when Windows cannot say.
#include <string>
#include <vector>

namespace lumorix::platform {

// The system folder as this process sees it (SysWOW64 for a 32-bit program on 64-bit Windows).
std::wstring SystemFolder();
// The Windows folder, also on a terminal server where each user has one of their own.
std::wstring SystemWindowsFolder();
// The user's local application data folder; `create` makes it where it is missing.
std::wstring LocalAppDataFolder(bool create);

// A folder by its CSIDL; "" when Windows cannot say.
std::wstring MachineFolder(int csidl);
// The Start menu's programs folder and the desktop every user of the machine sees.
std::wstring CommonProgramsFolder();
std::wstring CommonDesktopFolder();
// The program-files folders (both views on 64-bit Windows), without a final "\".
std::vector<std::wstring> ProgramFilesFolders();

}  // namespace lumorix::platform
