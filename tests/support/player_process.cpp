#include "tests/support/player_process.h"

#include <string>

#include "common/playlist_entry.h"
#include "platform/text.h"
#include "platform/user_files.h"
#include "tests/support/gui_test.h"
#include "tests/support/media.h"
#include "tests/support/registry_fixture.h"

namespace lumorix::test {

PlayerProcess::PlayerProcess() {
  std::wstring exe = WindowsPath(LUMORIX_BUILD_DIR "/bin/Lumorix.exe");
  std::wstring folder = WindowsPath(LUMORIX_BUILD_DIR "/bin");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                     &process)) {
    process_ = UniqueHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
}

PlayerProcess::~PlayerProcess() {
  if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) Kill();
}

bool PlayerProcess::WaitForExit(DWORD milliseconds) {
  return WaitForSingleObject(process_.Get(), milliseconds) == WAIT_OBJECT_0;
}

DWORD PlayerProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.Get(), &code);
  return code;
}

void PlayerProcess::Kill() {
  TerminateProcess(process_.Get(), 1);
  WaitForSingleObject(process_.Get(), 5000);
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  PumpUntil([&] { return (found = FindWindowW(className, title)) != nullptr; }, timeout);
  return found;
}

std::wstring UserPlayListFile() { return platform::UserDataFolder(true) + L"Lumorix.Lumorixpl"; }

void WritePlayListFile(const std::wstring& path, const std::vector<std::string>& clips) {
  std::vector<TPlayListEntry> entries;
  for (const std::string& clip : clips) entries.push_back(EntryFromFileName(WideToAnsi(Clip(clip))));
  std::vector<uint8_t> contents = EncodePlayList(entries);
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(file.Get(), contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
}

std::vector<std::string> PlayListNames(const std::wstring& path) {
  std::vector<std::string> names;
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {"<no file>"};
  uint8_t record[kPlayListEntrySize];
  DWORD read = 0;
  while (ReadFile(file.Get(), record, sizeof record, &read, nullptr) && read == sizeof record)
    names.push_back(DecodeEntry(record).EntryName);
  return names;
}

void WritePlayerPlayList(const std::vector<std::string>& clips) { WritePlayListFile(UserPlayListFile(), clips); }

}  // namespace lumorix::test
