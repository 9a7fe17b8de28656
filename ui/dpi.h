#pragma once
// The DPI of the system and of a window, and the system's metrics at a DPI.
// The functions of Windows 10 that know a window's own DPI are looked up in
// user32 at run time; on older systems every window has the system's DPI.
#include <windows.h>

namespace lumorix::ui {

// The DPI the system started the session with (LOGPIXELSX of the screen).
int SystemDpi();
// The DPI of the monitor the window is on, for a process aware of each
// monitor's DPI; the system's otherwise.
int WindowDpi(HWND window);
// The outer size of a window whose client area is `client`, with the frame
// and caption the window has at `dpi`.
SIZE OuterSizeForDpi(SIZE client, DWORD style, DWORD exStyle, bool menu, int dpi);
// A system metric (GetSystemMetrics) at `dpi`.
int SystemMetricForDpi(int index, int dpi);
// The system's status-bar and tool-tip font at `dpi`.
LOGFONTW StatusFontForDpi(int dpi);

}  // namespace lumorix::ui
