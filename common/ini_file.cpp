#include "common/ini_file.h"

#include <algorithm>
#include <cstdint>

namespace lumorix {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char Fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](size_t i) -> uint32_t {
    auto first = static_cast<uint8_t>(bytes[2 * i]), second = static_cast<uint8_t>(bytes[2 * i + 1]);
    return bigEndian ? uint32_t{first} << 8 | second : uint32_t{second} << 8 | first;
  };
  const size_t count = bytes.size() / 2;
  for (size_t i = 0; i < count; ++i) {
    uint32_t code = unit(i);
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < count && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    AppendUtf8(out, code);
  }
  return out;
}

IniFile IniFile::Parse(std::string_view contents) { return Parse(contents, {}, false); }

IniFile IniFile::Parse(std::string_view contents, std::span<const IniKey> wanted) {
  return Parse(contents, wanted, true);
}

IniFile IniFile::Parse(std::string_view contents, std::span<const IniKey> wanted, bool filtered) {
  if (StartsWith(contents, "\xEF\xBB\xBF")) return ParseText(contents.substr(3), IniEncoding::Utf8, wanted, filtered);
  if (StartsWith(contents, "\xFF\xFE") || StartsWith(contents, "\xFE\xFF")) {
    const std::string text = Utf16ToUtf8(contents.substr(2), contents[0] == '\xFE');
    return ParseText(text, IniEncoding::Utf8, wanted, filtered);
  }
  return ParseText(contents, IniEncoding::Ansi, wanted, filtered);
}

IniFile IniFile::ParseText(std::string_view contents, IniEncoding encoding, std::span<const IniKey> wanted,
                           bool filtered) {
  IniFile file;
  file.encoding_ = encoding;
  auto sectionWanted = [&](std::string_view name) {
    if (!filtered) return true;
    // Only the first section of a name is ever searched, so a later one is dropped.
    for (const Section& seen : file.sections_)
      if (SameName(seen.name, name)) return false;
    return std::any_of(wanted.begin(), wanted.end(), [&](const IniKey& k) { return SameName(k.section, name); });
  };
  auto keyWanted = [&](const Section& section, std::string_view key) {
    if (!filtered) return true;
    for (const Entry& seen : section.entries)
      if (SameName(seen.key, key)) return false;  // the first one wins
    return std::any_of(wanted.begin(), wanted.end(),
                       [&](const IniKey& k) { return SameName(k.section, section.name) && SameName(k.key, key); });
  };

  Section* current = nullptr;  // lines before the first section belong to none
  while (!contents.empty()) {
    size_t end = contents.find_first_of("\r\n");
    std::string_view line = Trim(contents.substr(0, end));
    contents = end == std::string_view::npos ? std::string_view() : contents.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      std::string_view name =
          Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
      current = nullptr;
      if (!sectionWanted(name)) continue;
      file.sections_.push_back({std::string(name), {}});
      current = &file.sections_.back();
      continue;
    }
    if (!current) continue;
    size_t equals = line.find('=');
    std::string_view key = equals == std::string_view::npos ? line : Trim(line.substr(0, equals));
    if (!keyWanted(*current, key)) continue;
    if (equals == std::string_view::npos)
      current->entries.push_back({std::string(key), std::nullopt});
    else
      current->entries.push_back({std::string(key), std::string(Unquoted(Trim(line.substr(equals + 1))))});
  }
  return file;
}

// At most `bufferSize` - 1 characters; a UTF-8 text is cut between characters.
std::string IniFile::Cut(std::string text, size_t bufferSize) const {
  if (bufferSize == 0) return {};
  const size_t limit = bufferSize - 1;
  if (encoding_ == IniEncoding::Ansi) {
    if (text.size() > limit) text.resize(limit);
    return text;
  }
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<uint8_t>(text[i]) & 0xC0) == 0x80) continue;  // inside a character
    if (characters++ == limit) {
      text.resize(i);
      break;
    }
  }
  return text;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key, size_t bufferSize) const {
  for (const Section& candidate : sections_) {
    if (!SameName(candidate.name, Trim(section))) continue;
    for (const Entry& entry : candidate.entries) {
      if (!SameName(entry.key, Trim(key))) continue;
      if (!entry.value) return std::nullopt;
      return Cut(*entry.value, bufferSize);
    }
    return std::nullopt;  // only the first section of that name is searched
  }
  return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                                size_t bufferSize) const {
  if (std::optional<std::string> value = Find(section, key, bufferSize)) return *value;
  return Cut(std::string(fallback), bufferSize);
}

}  // namespace lumorix
