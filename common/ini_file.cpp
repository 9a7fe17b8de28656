#include "common/ini_file.h"

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

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

IniFile IniFile::Parse(std::string_view contents) {
  IniFile file;
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
      file.sections_.push_back({std::string(name), {}});
      current = &file.sections_.back();
      continue;
    }
    if (!current) continue;
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      current->entries.push_back({std::string(line), std::nullopt});
    } else {
      current->entries.push_back(
          {std::string(Trim(line.substr(0, equals))), std::string(Unquoted(Trim(line.substr(equals + 1))))});
    }
  }
  return file;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key, size_t bufferSize) const {
  for (const Section& candidate : sections_) {
    if (!SameName(candidate.name, Trim(section))) continue;
    for (const Entry& entry : candidate.entries) {
      if (!SameName(entry.key, Trim(key))) continue;
      if (!entry.value) return std::nullopt;
      std::string value = *entry.value;
      if (bufferSize == 0) return std::string();
      if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
      return value;
    }
    return std::nullopt;  // only the first section of that name is searched
  }
  return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                                size_t bufferSize) const {
  if (std::optional<std::string> value = Find(section, key, bufferSize)) return *value;
  std::string text(fallback);
  if (bufferSize == 0) return {};
  if (text.size() > bufferSize - 1) text.resize(bufferSize - 1);
  return text;
}

}  // namespace lumorix
