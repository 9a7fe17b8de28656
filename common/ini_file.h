#pragma once
// A Windows INI file read with the private-profile rules: sections and keys
// match without regard to (ASCII) case, blanks around names and values are
// dropped, the first matching section and the first matching key in it win,
// one pair of enclosing quotes is removed from a value, a line that starts
// with ";" is a comment, and a value is cut to the reader's buffer.
// Texts are the file's bytes (the system's ANSI code page).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumorix {

class IniFile {
 public:
  IniFile() = default;  // an empty file: every read gives its default
  static IniFile Parse(std::string_view contents);

  // The value of `key` in `section`, or nothing when the section, the key or
  // its "=" is missing. At most `bufferSize` - 1 characters are returned, as a
  // profile reader with a buffer of that size gives.
  std::optional<std::string> Find(std::string_view section, std::string_view key,
                                  size_t bufferSize = kBufferSize) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                         size_t bufferSize = kBufferSize) const;

  // The buffer the player reads values with.
  static constexpr size_t kBufferSize = 2048;

 private:
  struct Entry {
    std::string key;
    std::optional<std::string> value;  // none: a line without "="
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  std::vector<Section> sections_;
};

// Compares two names the way the profile reader does (ASCII letters without case).
bool SameName(std::string_view a, std::string_view b);

}  // namespace lumorix
