#pragma once
// One playlist entry, 512 bytes, the same in memory and in the playlist file:
// two length-prefixed short strings of at most 255 single-byte characters.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumorix {

inline constexpr size_t kPlayListEntrySize = 512;
inline constexpr size_t kShortStringMax = 255;

struct TPlayListEntry {
  std::string EntryName;    // file name with extension, no folder
  std::string EntryFolder;  // folder, normally ending in a backslash
};

// Splits a full file name after its last backslash or colon; each part is cut to 255.
TPlayListEntry EntryFromFileName(const std::string& fileName);
// Folder, a backslash when the folder does not end in one, then the name.
std::string EntryPath(const TPlayListEntry& entry);

std::array<uint8_t, kPlayListEntrySize> EncodeEntry(const TPlayListEntry& entry);
// Writes the record into 512 bytes at `record`.
void EncodeEntryInto(const TPlayListEntry& entry, uint8_t* record);
TPlayListEntry DecodeEntry(const uint8_t* record);

// Whole records back to back; a trailing partial record is ignored.
std::vector<TPlayListEntry> DecodePlayList(const std::vector<uint8_t>& file);
std::vector<uint8_t> EncodePlayList(const std::vector<TPlayListEntry>& entries);

}  // namespace lumorix
