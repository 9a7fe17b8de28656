#include "player/playlist/playlist_file.h"

#include <windows.h>

#include <algorithm>

#include "common/format.h"
#include "platform/handle.h"
#include "ui/exception.h"

namespace lumorix {

namespace {

// Records per read or write: a megabyte at a time.
constexpr size_t kBlockRecords = 2048;

[[noreturn]] void RaiseIoError() { throw ui::Exception(Format("I/O error %lu", GetLastError())); }

void CreateEmptyWhenMissing(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file && GetLastError() != ERROR_FILE_EXISTS) RaiseIoError();
}

}  // namespace

void LoadPlayListFile(const std::wstring& path, std::vector<TPlayListEntry>& entries) {
  CreateEmptyWhenMissing(path);
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) RaiseIoError();
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.Get(), &size)) entries.reserve(entries.size() + size.QuadPart / kPlayListEntrySize);
  std::vector<uint8_t> block(kBlockRecords * kPlayListEntrySize);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr)) RaiseIoError();
    // A trailing partial record carries no entry.
    for (DWORD at = 0; at + kPlayListEntrySize <= read; at += kPlayListEntrySize)
      entries.push_back(DecodeEntry(block.data() + at));
    if (read < block.size()) break;
  }
}

void SavePlayListFile(const std::wstring& path, const std::vector<TPlayListEntry>& entries) {
  const std::wstring fresh = path + L".new";
  {
    UniqueHandle file(
        CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseIoError();
    std::vector<uint8_t> block(kBlockRecords * kPlayListEntrySize);
    bool complete = true;
    for (size_t next = 0; complete && next < entries.size();) {
      size_t records = std::min(entries.size() - next, kBlockRecords);
      for (size_t record = 0; record < records; ++record)
        EncodeEntryInto(entries[next + record], block.data() + record * kPlayListEntrySize);
      next += records;
      DWORD size = static_cast<DWORD>(records * kPlayListEntrySize), written = 0;
      complete = WriteFile(file.Get(), block.data(), size, &written, nullptr) && written == size;
    }
    if (!complete || !FlushFileBuffers(file.Get())) {
      DWORD error = GetLastError();
      file.Reset();
      DeleteFileW(fresh.c_str());
      SetLastError(error ? error : ERROR_HANDLE_DISK_FULL);
      RaiseIoError();
    }
  }
  if (!MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD error = GetLastError();
    DeleteFileW(fresh.c_str());
    SetLastError(error);
    RaiseIoError();
  }
}

}  // namespace lumorix
