#include "player/playlist/playlist_file.h"

#include <windows.h>

#include "common/format.h"
#include "platform/handle.h"
#include "ui/exception.h"

namespace lumorix {

namespace {

[[noreturn]] void RaiseIoError() { throw ui::Exception(Format("I/O error %lu", GetLastError())); }

void CreateEmptyWhenMissing(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file && GetLastError() != ERROR_FILE_EXISTS) RaiseIoError();
}

}  // namespace

void LoadPlayListFile(const std::wstring& path, const std::function<void(const TPlayListEntry&)>& append) {
  CreateEmptyWhenMissing(path);
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) RaiseIoError();
  uint8_t record[kPlayListEntrySize];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), record, sizeof record, &read, nullptr)) RaiseIoError();
    if (read < sizeof record) break;  // a trailing partial record carries no entry
    append(DecodeEntry(record));
  }
}

void SavePlayListFile(const std::wstring& path, const std::vector<TPlayListEntry>& entries) {
  const std::wstring fresh = path + L".new";
  {
    UniqueHandle file(
        CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseIoError();
    std::vector<uint8_t> contents = EncodePlayList(entries);
    DWORD written = 0;
    bool complete = contents.empty() ||
                    (WriteFile(file.Get(), contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
                     written == contents.size());
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
