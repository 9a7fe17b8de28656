#include "tests/support/unix_side.h"

#include <windows.h>

#include <functional>

#include "platform/handle.h"
#include "platform/text.h"

namespace lumorix::test {

namespace {

// One argument as Windows' command-line rules (which Wine follows for a
// Linux program's arguments too) read it back.
std::wstring Quoted(const std::string& text) {
  std::wstring quoted = L"\"";
  size_t slashes = 0;
  for (wchar_t c : Widen(text)) {
    if (c == L'\\') {
      ++slashes;
    } else {
      if (c == L'"') quoted.append(slashes + 1, L'\\');
      slashes = 0;
    }
    quoted += c;
  }
  quoted.append(slashes, L'\\');
  return quoted + L"\"";
}

// A file made and deleted again in the folder: whether it can be written at all.
bool Writable(const std::wstring& folder) {
  const std::wstring probe = folder + L"\\lumorix-write-probe";
  UniqueHandle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  if (!file) return false;
  file.Reset();
  DeleteFileW(probe.c_str());
  return true;
}

}  // namespace

std::string UnixPathOf(const std::wstring& windowsPath) {
  using Converter = char*(__cdecl*)(const wchar_t*);
  auto convert = reinterpret_cast<Converter>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return "";
  char* path = convert(windowsPath.c_str());
  if (!path) return "";
  std::string unix = path;
  HeapFree(GetProcessHeap(), 0, path);
  return unix;
}

bool StartUnix(const std::string& program, const std::vector<std::string>& arguments) {
  // Wine starts a Linux program named by its place on the Z: drive.
  std::wstring dosProgram = L"Z:" + Widen(program);
  for (wchar_t& c : dosProgram)
    if (c == L'/') c = L'\\';
  std::wstring command = L"\"" + dosProgram + L"\"";
  for (const std::string& argument : arguments) command += L" " + Quoted(argument);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    return false;
  // What Wine hands back for a Linux process can be neither waited on nor asked.
  if (started.hThread) CloseHandle(started.hThread);
  if (started.hProcess) CloseHandle(started.hProcess);
  return true;
}

bool Eventually(const std::function<bool()>& done) {
  for (int attempt = 0; attempt < 200; ++attempt, Sleep(50))
    if (done()) return true;
  return false;
}

bool MakeUnixLink(const std::wstring& target, const std::wstring& link) {
  std::string from = UnixPathOf(target), to = UnixPathOf(link);
  return !from.empty() && !to.empty() && StartUnix("/bin/ln", {"-sfn", from, to}) &&
         Eventually([&] { return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

bool RemoveUnixLink(const std::wstring& link) {
  std::string path = UnixPathOf(link);
  return !path.empty() && StartUnix("/bin/rm", {"-f", path}) &&
         Eventually([&] { return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
}

ReadOnlyFolder::ReadOnlyFolder(const std::wstring& folder) : folder_(folder), unix_(UnixPathOf(folder)) {
  if (unix_.empty()) return;
  // A bind mount of the folder onto itself, then made read-only, where that
  // may be done (root); the write permission taken away otherwise.
  const std::string script = "mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\" || chmod a-w \"$1\"";
  ready_ = StartUnix("/bin/sh", {"-c", script, "sh", unix_}) && Eventually([&] { return !Writable(folder_); });
}

ReadOnlyFolder::~ReadOnlyFolder() {
  if (unix_.empty()) return;
  // Lazily when something of Wine's still looks inside.
  const std::string script = "umount \"$1\" 2>/dev/null || umount -l \"$1\" 2>/dev/null; chmod u+w \"$1\"";
  (void)StartUnix("/bin/sh", {"-c", script, "sh", unix_});
  (void)Eventually([&] { return Writable(folder_); });
}

}  // namespace lumorix::test
