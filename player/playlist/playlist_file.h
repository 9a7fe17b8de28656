#pragma once
// Reading and writing the playlist file in large blocks. A save writes a new
// file beside the old one and replaces it only when complete, so a failed
// save loses nothing.
#include <string>
#include <vector>

#include "common/playlist_entry.h"

namespace lumorix {

// Appends each whole record to `entries`, in file order; creates the file
// empty when it is missing. Raises an I/O error on failure, after the records
// read so far.
void LoadPlayListFile(const std::wstring& path, std::vector<TPlayListEntry>& entries);
void SavePlayListFile(const std::wstring& path, const std::vector<TPlayListEntry>& entries);

}  // namespace lumorix
