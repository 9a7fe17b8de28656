#pragma once
// The reader's only contact with the platform: files, folders, attributes,
// the clock and the message queue. Paths use "\" as separator on every
// platform; the POSIX side turns them into "/".
#include <cstdint>
#include <memory>
#include <string>

namespace lumorix::zip {

class ReadOnlyFile {
 public:
  virtual ~ReadOnlyFile() = default;
  // -1 when the size cannot be had.
  virtual int64_t Size() = 0;
  [[nodiscard]] virtual bool Seek(int64_t offset) = 0;
  // Bytes read (0 at the end), or -1 on failure.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
};

class WriteOnlyFile {
 public:
  virtual ~WriteOnlyFile() = default;
  [[nodiscard]] virtual bool Write(const void* buffer, int64_t count) = 0;
};

// An archive held in memory under its name (memory_archive.h), else the file.
std::unique_ptr<ReadOnlyFile> OpenForReading(const std::string& path);
// The platform's file only.
std::unique_ptr<ReadOnlyFile> OpenFileForReading(const std::string& path);
// Creates the file anew: an existing one (or a link of that name) is deleted
// first and a new file made in its place, never written through, since it
// may be a second name of a file elsewhere.
std::unique_ptr<WriteOnlyFile> CreateForWriting(const std::string& path);
bool IsFile(const std::string& path);
bool IsFolder(const std::string& path);
// One level; false when it cannot be made.
bool MakeFolder(const std::string& path);
bool RemoveFile(const std::string& path);
// DOS attributes: 0 clears them all (read-only included).
bool SetAttributes(const std::string& path, uint32_t attributes);
uint32_t TickCount();
// Dispatches the window messages waiting for the thread (nothing without windows).
void ProcessPendingMessages();

}  // namespace lumorix::zip
