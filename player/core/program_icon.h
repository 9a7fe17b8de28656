#pragma once
// The program's icon, "MAINICON" of the running program's resources: the one
// Windows shows for the program file, used for its windows and its tray icon.
#include <windows.h>

namespace lumorix {

// Shared with the module: never destroyed, valid as long as the program runs. Null without the resource.
inline HICON ProgramIcon() { return LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"); }

}  // namespace lumorix
