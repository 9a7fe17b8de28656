#pragma once
// An archive the reader reads from memory (the installer's own resource,
// which lives in its program's image and nobody can change while it runs)
// instead of from a file, under a name no file can have.
#include <cstddef>
#include <string>

namespace lumorix::zip {

class MemoryArchive {
 public:
  // The bytes must outlive this object.
  MemoryArchive(const void* bytes, size_t size);
  ~MemoryArchive();
  MemoryArchive(const MemoryArchive&) = delete;
  MemoryArchive& operator=(const MemoryArchive&) = delete;

  // The name to hand the reader for as long as this object lives.
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

}  // namespace lumorix::zip
