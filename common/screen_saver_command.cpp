#include "screen_saver_command.h"

namespace lumorix {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

}  // namespace

std::vector<std::wstring> CommandLineArguments(std::wstring_view commandLine) {
  std::vector<std::wstring> words;
  size_t at = 0;
  while (true) {
    while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
    if (at >= commandLine.size()) break;
    std::wstring word;
    bool quoted = false;
    for (; at < commandLine.size() && (quoted || !IsBlank(commandLine[at])); ++at) {
      if (commandLine[at] == L'"')
        quoted = !quoted;
      else
        word += commandLine[at];
    }
    words.push_back(std::move(word));
  }
  // The first word is the program's own name.
  if (!words.empty()) words.erase(words.begin());
  return words;
}

int32_t ScreenSaverCommand(std::wstring_view firstArgument) {
  std::wstring switchName(firstArgument);
  if (switchName.size() >= 2) {
    switchName.erase(0, 1);  // the "/" or "-"
    if (switchName[0] >= L'a' && switchName[0] <= L'z') switchName[0] = static_cast<wchar_t>(switchName[0] - 32);
  }
  if (switchName == L"C") return 1;
  if (switchName == L"P") return 2;
  if (switchName == L"A") return 3;
  return 0;
}

int64_t CommandLineNumber(std::wstring_view text) {
  size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) negative = text[at++] == L'-';
  int base = 10;
  if (at < text.size() && text[at] == L'$') {
    base = 16;
    ++at;
  } else if (at + 1 < text.size() && text[at] == L'0' && (text[at + 1] == L'x' || text[at + 1] == L'X')) {
    base = 16;
    at += 2;
  }
  // Unsigned arithmetic: an overlong number wraps instead of overflowing.
  uint64_t value = 0;
  for (; at < text.size(); ++at) {
    int digit = HexDigit(text[at]);
    if (digit < 0 || digit >= base) break;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  return static_cast<int64_t>(negative ? 0 - value : value);
}

ScreenSaverRequest ScreenSaverRequestFor(std::wstring_view commandLine) {
  std::vector<std::wstring> arguments = CommandLineArguments(commandLine);
  ScreenSaverRequest request;
  request.command = ScreenSaverCommand(arguments.empty() ? L"" : arguments[0]);
  if (request.command == 2 && arguments.size() >= 2) request.parameter = CommandLineNumber(arguments[1]);
  return request;
}

}  // namespace lumorix
