#pragma once
// Reading and writing the playlist file. A save writes a new file beside the
// old one and replaces it only when complete, so a failed save loses nothing.
#include <functional>
#include <string>
#include <vector>

#include "common/playlist_entry.h"

namespace lumorix {

// Hands each whole record to `append`, in file order; creates the file empty
// when it is missing. Raises an I/O error on failure, after the records read so far.
void LoadPlayListFile(const std::wstring& path, const std::function<void(const TPlayListEntry&)>& append);
void SavePlayListFile(const std::wstring& path, const std::vector<TPlayListEntry>& entries);

}  // namespace lumorix
