#include "safe_names.h"

#include <array>

namespace lumorix {

namespace {

template <typename Char>
bool SameLetters(std::basic_string_view<Char> text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    Char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<Char>(c - 'a' + 'A');
    if (c != static_cast<Char>(upper[i])) return false;
  }
  return true;
}

// The digits Windows reserves after COM and LPT: 0 to 9, and the superscripts
// one to three (one character in UTF-16, two bytes in UTF-8).
bool IsDeviceDigit(std::string_view digit) {
  if (digit.size() == 1) return digit[0] >= '0' && digit[0] <= '9';
  return digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";
}
bool IsDeviceDigit(std::wstring_view digit) {
  return digit.size() == 1 &&
         ((digit[0] >= L'0' && digit[0] <= L'9') || digit[0] == 0xB9 || digit[0] == 0xB2 || digit[0] == 0xB3);
}

// "..", and the spellings Windows reads as ".." once it drops a part's
// trailing dots and spaces (".. ", "...").
template <typename Char>
bool IsParentFolder(std::basic_string_view<Char> part) {
  const Char dots[] = {'.', '.', 0};
  const Char dotAndSpace[] = {'.', ' ', 0};
  return part.find(dots) != std::basic_string_view<Char>::npos &&
         part.find_first_not_of(dotAndSpace) == std::basic_string_view<Char>::npos;
}

template <typename Char>
bool IsDevice(std::basic_string_view<Char> part) {
  // Windows ignores everything from the first dot, and spaces before it.
  std::basic_string_view<Char> base = part.substr(0, part.find(static_cast<Char>('.')));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  for (std::string_view device : std::array<std::string_view, 4>{"CON", "PRN", "AUX", "NUL"})
    if (SameLetters(base, device)) return true;
  if (base.size() < 4) return false;
  std::basic_string_view<Char> stem = base.substr(0, 3);
  return (SameLetters(stem, "COM") || SameLetters(stem, "LPT")) && IsDeviceDigit(base.substr(3));
}

template <typename Char>
bool IsSafe(std::basic_string_view<Char> name) {
  if (name.empty()) return true;
  if (name.front() == '\\' || name.front() == '/') return false;
  if (name.find(static_cast<Char>(':')) != name.npos) return false;  // a drive, or a stream of another file
  // The file system ends a name at its first NUL: "COM1<NUL>.txt" would open COM1.
  if (name.find(static_cast<Char>(0)) != name.npos) return false;
  const Char slashes[] = {'\\', '/', 0};
  for (;;) {
    size_t end = name.find_first_of(slashes);
    std::basic_string_view<Char> part = name.substr(0, end);
    if (IsParentFolder(part) || IsDevice(part)) return false;
    if (end == name.npos) return true;
    name.remove_prefix(end + 1);
  }
}

}  // namespace

bool IsSafeRelativeName(std::string_view name) { return IsSafe(name); }
bool IsSafeRelativeName(std::wstring_view name) { return IsSafe(name); }
bool IsDeviceName(std::string_view part) { return IsDevice(part); }
bool IsDeviceName(std::wstring_view part) { return IsDevice(part); }

}  // namespace lumorix
