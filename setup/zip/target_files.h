#pragma once
// Creating extraction targets: files and the folder chains they need, with
// bounds on how long and how deep a path may be.
#include <memory>
#include <string>

#include "setup/zip/file_system.h"

namespace lumorix::zip {

// The longest path Windows' file functions take at all.
inline constexpr size_t kMaxPathLength = 32767;
// As deep as a chain of one-letter folders goes within MAX_PATH (260 characters).
inline constexpr size_t kMaxPathDepth = 128;

// Whether `path` ("\" separated) stays within the length and depth bounds.
bool WithinPathLimits(const std::string& path);
// Creates every missing folder of `path`, stopping at paths of 2 characters or
// less and at folders that exist. False when the folder is not there afterwards
// or the path is out of bounds.
[[nodiscard]] bool CreateFolderChain(const std::string& path);
// Creates the file anew, making its folder chain when it is missing; null on failure.
std::unique_ptr<WriteOnlyFile> CreateTarget(const std::string& target);

}  // namespace lumorix::zip
