#pragma once
// How the screen-saver program reads the command line the system starts it
// with (/s, /c, /p HWND, /a) and what it sends the player for it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumorix {

// Arguments after the program's own name: separated by blanks, a part in
// double quotes may hold blanks, and the quotes themselves are dropped.
std::vector<std::wstring> CommandLineArguments(std::wstring_view commandLine);

// The command number for the first argument: "/c" and "-C" give 1, "/p" 2,
// "/a" 3 and everything else, "/c:1234" and a missing argument included, 0.
int32_t ScreenSaverCommand(std::wstring_view firstArgument);

// A number as the preview's window handle is written: decimal, or hexadecimal
// after "$" or "0x". Digits stop at the first character that is none; no
// digits at all give 0.
int64_t CommandLineNumber(std::wstring_view text);

// What the screen-saver program sends the player: wParam and lParam.
struct ScreenSaverRequest {
  int32_t command = 0;
  int64_t parameter = 0;
  friend bool operator==(const ScreenSaverRequest&, const ScreenSaverRequest&) = default;
};

ScreenSaverRequest ScreenSaverRequestFor(std::wstring_view commandLine);

}  // namespace lumorix
