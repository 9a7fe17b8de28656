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

// The user's own playlist file at `path`, made once from the file at `seed`
// (the one beside the program) when the user has none yet: a copy of its
// records, or an empty file when there is no seed. The seed is only read.
// Raises an I/O error when the user's file cannot be made.
void SeedPlayListFile(const std::wstring& path, const std::wstring& seed);

}  // namespace lumorix
