#pragma once
// The DLLs a Windows program (32-bit or x64) names in its import tables, read from
// the file's bytes, and which of them Windows takes from the system folder
// whatever folder the program was started from.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumorix {

// The names in the import and delay-import directories, in file order;
// nothing when the bytes are no well-formed PE32 image.
std::optional<std::vector<std::string>> ImportedDlls(const std::vector<uint8_t>& image);

// True for a DLL the loader never looks for beside the program on any
// Windows the manifests claim (7 to 11): the known DLLs they all have, and
// the few loaded before any program code runs.
bool AlwaysFromSystemFolder(std::string_view dll);
// The same for a program whose manifest depends (or not) on common controls 6.
bool FromSystemFolderFor(std::string_view dll, bool commonControls6);

}  // namespace lumorix
