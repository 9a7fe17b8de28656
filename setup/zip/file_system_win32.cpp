#include <windows.h>

#include "platform/handle.h"
#include "platform/text.h"
#include "setup/zip/file_system.h"

namespace lumorix::zip {

namespace {

class Win32ReadFile : public ReadOnlyFile {
 public:
  explicit Win32ReadFile(UniqueHandle file) : file_(std::move(file)) {}
  int64_t Size() override {
    LARGE_INTEGER size{};
    return GetFileSizeEx(file_.Get(), &size) ? size.QuadPart : -1;
  }
  bool Seek(int64_t offset) override {
    LARGE_INTEGER target{};
    target.QuadPart = offset;
    return offset >= 0 && SetFilePointerEx(file_.Get(), target, nullptr, FILE_BEGIN);
  }
  int64_t Read(void* buffer, int64_t count) override {
    DWORD read = 0;
    if (!ReadFile(file_.Get(), buffer, static_cast<DWORD>(count), &read, nullptr)) return -1;
    return read;
  }

 private:
  UniqueHandle file_;
};

class Win32WriteFile : public WriteOnlyFile {
 public:
  explicit Win32WriteFile(UniqueHandle file) : file_(std::move(file)) {}
  bool Write(const void* buffer, int64_t count) override {
    DWORD written = 0;
    return WriteFile(file_.Get(), buffer, static_cast<DWORD>(count), &written, nullptr) && written == count;
  }

 private:
  UniqueHandle file_;
};

}  // namespace

std::unique_ptr<ReadOnlyFile> OpenFileForReading(const std::string& path) {
  UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32ReadFile>(std::move(file));
}

std::unique_ptr<WriteOnlyFile> CreateForWriting(const std::string& path) {
  const std::wstring name = Widen(path);
  // DeleteFile takes a link as the link, and a missing file is no failure.
  if (!DeleteFileW(name.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND)
    return nullptr;
  UniqueHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32WriteFile>(std::move(file));
}

bool IsFile(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolder(const std::string& path) { return CreateDirectoryW(Widen(path).c_str(), nullptr) != FALSE; }

bool RemoveFile(const std::string& path) { return DeleteFileW(Widen(path).c_str()) != FALSE; }

bool SetAttributes(const std::string& path, uint32_t attributes) {
  return SetFileAttributesW(Widen(path).c_str(), attributes) != FALSE;
}

uint32_t TickCount() { return GetTickCount(); }

void ProcessPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace lumorix::zip
