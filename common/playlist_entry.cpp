#include "playlist_entry.h"

#include <algorithm>

namespace lumorix {

static std::string Cut(std::string text) {
  if (text.size() > kShortStringMax) text.resize(kShortStringMax);
  return text;
}

TPlayListEntry EntryFromFileName(const std::string& fileName) {
  size_t split = fileName.find_last_of("\\:");
  size_t nameStart = split == std::string::npos ? 0 : split + 1;
  return {Cut(fileName.substr(nameStart)), Cut(fileName.substr(0, nameStart))};
}

std::string EntryPath(const TPlayListEntry& entry) {
  std::string path = entry.EntryFolder;
  if (path.empty() || path.back() != '\\') path += '\\';
  return path + entry.EntryName;
}

static void PutShortString(uint8_t* field, const std::string& text) {
  size_t length = std::min(text.size(), kShortStringMax);
  field[0] = static_cast<uint8_t>(length);
  std::copy_n(text.begin(), length, field + 1);
}

static std::string GetShortString(const uint8_t* field) {
  return std::string(reinterpret_cast<const char*>(field + 1), field[0]);
}

void EncodeEntryInto(const TPlayListEntry& entry, uint8_t* record) {
  std::fill_n(record, kPlayListEntrySize, uint8_t{0});
  PutShortString(record, entry.EntryName);
  PutShortString(record + 256, entry.EntryFolder);
}

std::array<uint8_t, kPlayListEntrySize> EncodeEntry(const TPlayListEntry& entry) {
  std::array<uint8_t, kPlayListEntrySize> record;
  EncodeEntryInto(entry, record.data());
  return record;
}

TPlayListEntry DecodeEntry(const uint8_t* record) { return {GetShortString(record), GetShortString(record + 256)}; }

std::vector<TPlayListEntry> DecodePlayList(const std::vector<uint8_t>& file) {
  std::vector<TPlayListEntry> entries;
  for (size_t offset = 0; offset + kPlayListEntrySize <= file.size(); offset += kPlayListEntrySize)
    entries.push_back(DecodeEntry(file.data() + offset));
  return entries;
}

std::vector<uint8_t> EncodePlayList(const std::vector<TPlayListEntry>& entries) {
  std::vector<uint8_t> file(entries.size() * kPlayListEntrySize);
  for (size_t index = 0; index < entries.size(); ++index)
    EncodeEntryInto(entries[index], file.data() + index * kPlayListEntrySize);
  return file;
}

}  // namespace lumorix
