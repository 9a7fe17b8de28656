#include "setup/zip/memory_archive.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string_view>

#include "setup/zip/file_system.h"

namespace lumorix::zip {

namespace {

struct Registry {
  std::mutex lock;
  std::map<std::string, std::string_view, std::less<>> archives;
  unsigned next = 0;
};

Registry& Archives() {
  static Registry registry;
  return registry;
}

class MemoryFile : public ReadOnlyFile {
 public:
  explicit MemoryFile(std::string_view bytes) : bytes_(bytes) {}
  int64_t Size() override { return static_cast<int64_t>(bytes_.size()); }
  bool Seek(int64_t offset) override {
    if (offset < 0) return false;
    at_ = static_cast<uint64_t>(offset);
    return true;
  }
  int64_t Read(void* buffer, int64_t count) override {
    if (count < 0) return -1;
    if (at_ >= bytes_.size()) return 0;
    uint64_t available = std::min<uint64_t>(static_cast<uint64_t>(count), bytes_.size() - at_);
    std::memcpy(buffer, bytes_.data() + at_, available);
    at_ += available;
    return static_cast<int64_t>(available);
  }

 private:
  std::string_view bytes_;
  uint64_t at_ = 0;
};

}  // namespace

MemoryArchive::MemoryArchive(const void* bytes, size_t size) {
  Registry& registry = Archives();
  std::lock_guard<std::mutex> hold(registry.lock);
  // "<" and ">" are in no Windows file name.
  name_ = "<memory archive " + std::to_string(++registry.next) + ">";
  registry.archives.emplace(name_, std::string_view(static_cast<const char*>(bytes), size));
}

MemoryArchive::~MemoryArchive() {
  Registry& registry = Archives();
  std::lock_guard<std::mutex> hold(registry.lock);
  registry.archives.erase(name_);
}

std::unique_ptr<ReadOnlyFile> OpenForReading(const std::string& path) {
  {
    Registry& registry = Archives();
    std::lock_guard<std::mutex> hold(registry.lock);
    auto found = registry.archives.find(path);
    if (found != registry.archives.end()) return std::make_unique<MemoryFile>(found->second);
  }
  return OpenFileForReading(path);
}

}  // namespace lumorix::zip
