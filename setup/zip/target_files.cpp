#include "setup/zip/target_files.h"

#include <algorithm>
#include <vector>

namespace lumorix::zip {

namespace {

size_t TrimSeparators(const std::string& path, size_t length) {
  while (length > 0 && path[length - 1] == '\\') --length;
  return length;
}

std::string FolderOf(const std::string& path) {
  size_t split = path.find_last_of('\\');
  return split == std::string::npos ? std::string() : path.substr(0, split + 1);
}

}  // namespace

bool WithinPathLimits(const std::string& path) {
  return path.size() <= kMaxPathLength &&
         static_cast<size_t>(std::count(path.begin(), path.end(), '\\')) <= kMaxPathDepth;
}

bool CreateFolderChain(const std::string& path) {
  if (!WithinPathLimits(path)) return false;
  const size_t length = TrimSeparators(path, path.size());
  if (length <= 2) return true;
  // Upwards to the first folder that exists, then the missing ones downwards:
  // a loop, so that a chain's depth costs no stack.
  std::vector<size_t> missing;
  for (size_t end = length; end > 2 && !IsFolder(path.substr(0, end));) {
    missing.push_back(end);
    size_t split = path.find_last_of('\\', end - 1);
    if (split == std::string::npos) break;
    end = TrimSeparators(path, split);
  }
  for (auto end = missing.rbegin(); end != missing.rend(); ++end) (void)MakeFolder(path.substr(0, *end));
  return IsFolder(path.substr(0, length));
}

std::unique_ptr<WriteOnlyFile> CreateTarget(const std::string& target) {
  if (!WithinPathLimits(target)) return nullptr;
  if (auto file = CreateForWriting(target)) return file;
  const std::string folder = FolderOf(target);
  (void)CreateFolderChain(folder);
  if (auto file = CreateForWriting(target)) return file;
  if (!IsFolder(folder)) {
    (void)CreateFolderChain(folder);
    if (auto file = CreateForWriting(target)) return file;
  }
  return nullptr;
}

}  // namespace lumorix::zip
