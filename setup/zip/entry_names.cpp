#include "setup/zip/entry_names.h"

#include <array>

namespace lumorix::zip {

namespace {

bool SameLetters(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upper[i]) return false;
  }
  return true;
}

// The digits Windows reserves after COM and LPT: 0 to 9, and the superscripts
// one to three (UTF-8, as the names reach the file system).
bool IsDeviceDigit(std::string_view digit) {
  if (digit.size() == 1) return digit[0] >= '0' && digit[0] <= '9';
  return digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

// "..", and the spellings Windows reads as ".." once it drops a part's
// trailing dots and spaces (".. ", "...").
bool IsParentFolder(std::string_view part) {
  return part.find("..") != std::string_view::npos && part.find_first_not_of(". ") == std::string_view::npos;
}

}  // namespace

bool IsDeviceName(std::string_view part) {
  // Windows ignores everything from the first dot, and spaces before it.
  std::string_view base = part.substr(0, part.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  for (std::string_view device : std::array<std::string_view, 4>{"CON", "PRN", "AUX", "NUL"})
    if (SameLetters(base, device)) return true;
  if (base.size() < 4) return false;
  std::string_view stem = base.substr(0, 3);
  return (SameLetters(stem, "COM") || SameLetters(stem, "LPT")) && IsDeviceDigit(base.substr(3));
}

bool IsSafeEntryName(const std::string& name) {
  if (name.empty()) return true;
  if (name.front() == '\\' || name.front() == '/') return false;
  if (name.find(':') != std::string::npos) return false;  // a drive, or a stream of another file
  // The file system ends a name at its first NUL: "COM1<NUL>.txt" would open COM1.
  if (name.find('\0') != std::string::npos) return false;
  std::string_view rest = name;
  for (;;) {
    size_t end = rest.find_first_of("\\/");
    std::string_view part = rest.substr(0, end);
    if (IsParentFolder(part) || IsDeviceName(part)) return false;
    if (end == std::string_view::npos) return true;
    rest.remove_prefix(end + 1);
  }
}

}  // namespace lumorix::zip
