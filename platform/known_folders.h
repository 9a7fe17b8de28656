#pragma once
// The system's own folders, as the system names them (the shell's known
// folders and the machine's keys, never the environment, which the caller
// sets); each empty when Windows cannot say.
#include <string>
#include <vector>

namespace lumorix::platform {

// The system folder as this process sees it (SysWOW64 for a 32-bit program on 64-bit Windows).
std::wstring SystemFolder();
// The Windows folder, also on a terminal server where each user has one of their own.
std::wstring SystemWindowsFolder();
// The user's local application data folder; `create` makes it where it is missing.
std::wstring LocalAppDataFolder(bool create);

// The Start menu's programs folder and the desktop every user of the machine sees.
std::wstring CommonProgramsFolder();
std::wstring CommonDesktopFolder();
// The same of the current user alone, and the user's profile folder.
std::wstring UserProgramsFolder();
std::wstring UserDesktopFolder();
std::wstring ProfileFolder();
// Where programs installed for the current user alone go (local application
// data + "\Programs" unless the system names another place), without a final "\".
std::wstring UserProgramFilesFolder();
// The program-files folder of this process's own kind (the 64-bit one for an
// x64 program), without a final "\".
std::wstring ProgramFilesFolder();
// Every program-files folder of the machine (both on 64-bit Windows), without a final "\".
std::vector<std::wstring> ProgramFilesFolders();

}  // namespace lumorix::platform
