#pragma once
// A Windows INI file read with the private-profile rules: sections and keys
// match without regard to (ASCII) case, blanks around names and values are
// dropped, the first matching section and the first matching key in it win,
// one pair of enclosing quotes is removed from a value, a line that starts
// with ";" is a comment, and a value is cut to the reader's buffer.
// Texts are the file's bytes in the system's ANSI code page, unless the file
// starts with a byte-order mark: UTF-8 is kept as it is and UTF-16 (Notepad's
// "Unicode") is turned into UTF-8, as the system's own profile reader does.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumorix {

// A value a reader asks for.
struct IniKey {
  std::string_view section;
  std::string_view key;
};

enum class IniEncoding { Ansi, Utf8 };

class IniFile {
 public:
  IniFile() = default;  // an empty file: every read gives its default
  // Every value of the file.
  static IniFile Parse(std::string_view contents);
  // Only the values named in `wanted`: what a file holds beyond them costs no memory.
  static IniFile Parse(std::string_view contents, std::span<const IniKey> wanted);

  // The value of `key` in `section`, or nothing when the section, the key or
  // its "=" is missing. At most `bufferSize` - 1 characters are returned, as a
  // profile reader with a buffer of that size gives.
  std::optional<std::string> Find(std::string_view section, std::string_view key,
                                  size_t bufferSize = kBufferSize) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                         size_t bufferSize = kBufferSize) const;

  // How the texts returned are written.
  IniEncoding Encoding() const { return encoding_; }

  // The buffer the player reads values with.
  static constexpr size_t kBufferSize = 2048;
  // Skins and languages are a few kilobytes; a larger file is not read at all.
  static constexpr size_t kSizeLimit = 64 * 1024;

 private:
  static IniFile Parse(std::string_view contents, std::span<const IniKey> wanted, bool filtered);
  static IniFile ParseText(std::string_view text, IniEncoding encoding, std::span<const IniKey> wanted, bool filtered);
  std::string Cut(std::string text, size_t bufferSize) const;

  struct Entry {
    std::string key;
    std::optional<std::string> value;  // none: a line without "="
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  std::vector<Section> sections_;
  IniEncoding encoding_ = IniEncoding::Ansi;
};

// Compares two names the way the profile reader does (ASCII letters without case).
bool SameName(std::string_view a, std::string_view b);

// UTF-16 bytes (little- or big-endian, without the byte-order mark) as UTF-8;
// a lone surrogate becomes U+FFFD and an odd last byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);

}  // namespace lumorix
