#include "player/playlist/playlist_file.h"

#include <windows.h>

#include <algorithm>

#include "common/format.h"
#include "platform/handle.h"
#include "platform/text.h"
#include "ui/exception.h"

namespace lumorix {

namespace {

// Records per read or write: a megabyte at a time.
constexpr size_t kBlockRecords = 2048;

[[noreturn]] void RaiseIoError(const std::wstring& path) {
  DWORD error = GetLastError();
  throw ui::Exception(Format("I/O error %lu on the playlist file ", error) + Narrow(path) + ": " +
                      Narrow(SystemMessage(error)));
}

void CreateEmptyWhenMissing(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file && GetLastError() != ERROR_FILE_EXISTS) RaiseIoError(path);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void ReadRecords(const std::wstring& path, std::vector<TPlayListEntry>& entries) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) RaiseIoError(path);
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.Get(), &size)) entries.reserve(entries.size() + size.QuadPart / kPlayListEntrySize);
  std::vector<uint8_t> block(kBlockRecords * kPlayListEntrySize);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr)) RaiseIoError(path);
    // A trailing partial record carries no entry.
    for (DWORD at = 0; at + kPlayListEntrySize <= read; at += kPlayListEntrySize)
      entries.push_back(DecodeEntry(block.data() + at));
    if (read < block.size()) break;
  }
}

}  // namespace

void LoadPlayListFile(const std::wstring& path, std::vector<TPlayListEntry>& entries) {
  CreateEmptyWhenMissing(path);
  ReadRecords(path, entries);
}

void SavePlayListFile(const std::wstring& path, const std::vector<TPlayListEntry>& entries) {
  const std::wstring fresh = path + L".new";
  {
    UniqueHandle file(
        CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseIoError(fresh);
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
      RaiseIoError(path);
    }
  }
  if (!MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD error = GetLastError();
    DeleteFileW(fresh.c_str());
    SetLastError(error);
    RaiseIoError(path);
  }
}

void SeedPlayListFile(const std::wstring& path, const std::wstring& seed) {
  if (Exists(path)) return;
  std::vector<TPlayListEntry> entries;
  // A seed that cannot be read gives way to an empty list: the user's own
  // file is what matters from now on.
  if (Exists(seed)) {
    try {
      ReadRecords(seed, entries);
    } catch (const ui::Exception&) {
      entries.clear();
    }
  }
  SavePlayListFile(path, entries);
}

}  // namespace lumorix
