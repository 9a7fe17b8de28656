#include "common/shell_surfaces.h"

#include <algorithm>

namespace lumorix {

namespace {

// The desktop, the taskbars, and shell surfaces with a class of their own.
constexpr std::wstring_view kShellClasses[] = {
    L"Progman",
    L"WorkerW",
    L"Shell_TrayWnd",
    L"Shell_SecondaryTrayWnd",
    L"MultitaskingViewFrame",         // Task View and Alt-Tab, Windows 10
    L"XamlExplorerHostIslandWindow",  // Task View, Alt-Tab and snap layouts, Windows 11
    L"TaskSwitcherWnd",               // Alt-Tab, Windows 7 and 8
    L"TaskSwitcherOverlayWnd",
    L"ForegroundStaging",  // the shell's stand-in while an app comes to the front
    L"Shell_Dim",          // the dimmed screen behind some shell dialogs
};

// Programs whose every top-level window is a passing shell surface or overlay.
constexpr std::wstring_view kOverlayPrograms[] = {
    L"ScreenClippingHost.exe",  // screen snipping
    L"GameBar.exe",             // the game overlay
    L"GameBarFTServer.exe",
};

// The shell's hosts of app windows: a CoreWindow of theirs is a shell surface;
// a CoreWindow of any other program is an ordinary app.
constexpr std::wstring_view kCoreWindowShellHosts[] = {
    L"StartMenuExperienceHost.exe",  // Start
    L"ShellExperienceHost.exe",      // the notification centre, the clock and volume flyouts
    L"ShellHost.exe",                // quick settings, Windows 11
    L"SearchHost.exe",               // search, Windows 11
    L"SearchApp.exe",                // search, Windows 10 2004 and later
    L"SearchUI.exe",                 // search and Cortana, earlier Windows 10
    L"TextInputHost.exe",            // the touch keyboard and the emoji panel
    L"ScreenClippingHost.exe",
};

constexpr std::wstring_view kCoreWindowClass = L"Windows.UI.Core.CoreWindow";

wchar_t Fold(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool SameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return Fold(x) == Fold(y); });
}

template <size_t N>
bool Listed(const std::wstring_view (&list)[N], std::wstring_view name) {
  return !name.empty() && std::any_of(std::begin(list), std::end(list),
                                      [name](std::wstring_view entry) { return SameText(entry, name); });
}

}  // namespace

bool IsShellSurface(std::wstring_view className, std::wstring_view processName) {
  if (Listed(kShellClasses, className) || Listed(kOverlayPrograms, processName)) return true;
  return SameText(className, kCoreWindowClass) && Listed(kCoreWindowShellHosts, processName);
}

}  // namespace lumorix
