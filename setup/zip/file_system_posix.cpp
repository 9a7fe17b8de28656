#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "setup/zip/file_system.h"

namespace lumorix::zip {

namespace {

std::string Native(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

class PosixReadFile : public ReadOnlyFile {
 public:
  explicit PosixReadFile(int fd) : fd_(fd) {}
  ~PosixReadFile() override { close(fd_); }
  int64_t Size() override {
    struct stat info {};
    return fstat(fd_, &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
  }
  bool Seek(int64_t offset) override { return offset >= 0 && lseek(fd_, offset, SEEK_SET) == offset; }
  int64_t Read(void* buffer, int64_t count) override { return read(fd_, buffer, static_cast<size_t>(count)); }

 private:
  int fd_;
};

class PosixWriteFile : public WriteOnlyFile {
 public:
  explicit PosixWriteFile(int fd) : fd_(fd) {}
  ~PosixWriteFile() override { close(fd_); }
  bool Write(const void* buffer, int64_t count) override {
    auto* bytes = static_cast<const char*>(buffer);
    while (count > 0) {
      ssize_t written = write(fd_, bytes, static_cast<size_t>(count));
      if (written <= 0) return false;
      bytes += written;
      count -= written;
    }
    return true;
  }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<ReadOnlyFile> OpenFileForReading(const std::string& path) {
  int fd = open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    close(fd);
    return nullptr;
  }
  return std::make_unique<PosixReadFile>(fd);
}

std::unique_ptr<WriteOnlyFile> CreateForWriting(const std::string& path) {
  std::string native = Native(path);
  struct stat info {};
  if (lstat(native.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) && unlink(native.c_str()) != 0) return nullptr;
  int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixWriteFile>(fd);
}

bool IsFile(const std::string& path) {
  struct stat info {};
  return stat(Native(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return stat(Native(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeFolder(const std::string& path) { return mkdir(Native(path).c_str(), 0755) == 0; }

bool RemoveFile(const std::string& path) { return unlink(Native(path).c_str()) == 0; }

// Only the read-only bit has a POSIX meaning: the owner's write permission.
bool SetAttributes(const std::string& path, uint32_t attributes) {
  std::string native = Native(path);
  struct stat info {};
  if (stat(native.c_str(), &info) != 0) return false;
  mode_t mode = info.st_mode & 07777;
  mode = (attributes & 0x01) ? (mode & ~mode_t{0222}) : (mode | S_IWUSR);
  return chmod(native.c_str(), mode) == 0;
}

uint32_t TickCount() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void ProcessPendingMessages() {}

}  // namespace lumorix::zip
