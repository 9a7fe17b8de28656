#pragma once
// The shell's own top-level windows, which never hide the desktop for good:
// the desktop and taskbar themselves, and the short-lived surfaces that
// cover a whole monitor for a moment (Start, search, Task View, Alt-Tab, the
// notification centre, screen snipping, the game overlay). Known by their
// window class, and for the shell's generic app-window class by the program
// that owns it; both compare without regard to case, as Windows does.
#include <string_view>

namespace lumorix {

// `processName` is the file name of the owning program ("SearchHost.exe"),
// empty when it could not be read.
bool IsShellSurface(std::wstring_view className, std::wstring_view processName);

}  // namespace lumorix
