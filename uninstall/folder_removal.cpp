#include "uninstall/folder_removal.h"

#include "common/install_folder.h"
#include "platform/access_list.h"
#include "platform/files.h"
#include "platform/handle.h"
#include "platform/known_folders.h"
#include "platform/registry_access.h"
#include "platform/unfollowed_files.h"
#include "platform/uninstall_entry.h"

namespace lumorix::uninstall {

namespace {

// Far larger than the uninstaller.
constexpr size_t kMaxProgram = 64u << 20;

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool OnlyUninstallerLeft(const std::wstring& folder) {
  for (const std::wstring& name : platform::NamesIn(folder))
    if (!SamePath(name, L"Uninstall.exe") && !SamePath(name, L"Uninstall.log")) return false;
  return true;
}

std::wstring UsersTemporaryFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return L"";
  std::wstring text(folder, length);
  return text.ends_with(L'\\') ? text.substr(0, text.size() - 1) : text;
}

// A new folder for the copy, "" when none can be made. For everyone, in the
// Windows folder's "Temp", which users may add to but not change what others
// made there, with the administrators' protection from its first moment. For
// the user alone, in their own temporary folder, which only they (and the
// administrators) can write.
std::wstring MakeCopysFolder(InstallScope scope) {
  const bool forUser = scope == InstallScope::CurrentUser;
  std::wstring parent = forUser ? UsersTemporaryFolder() : platform::SystemWindowsFolder() + L"\\Temp";
  if (parent.empty() || parent == L"\\Temp") return L"";
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::wstring folder = parent + L"\\LumorixUninstall-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(GetTickCount() + attempt);
    // A name someone made first is theirs: another is tried.
    if (forUser ? CreateDirectoryW(folder.c_str(), nullptr) != FALSE : platform::CreateAdministratorsFolder(folder))
      return folder + L"\\";
  }
  return L"";
}

// Writes this program's own bytes into `copy` and holds it open, refusing
// anyone else's writes and deletions, until the caller lets go.
UniqueHandle WriteHeldCopy(const std::wstring& copy) {
  std::optional<std::string> program = platform::ReadPlainFile(ProgramFileName(), kMaxProgram);
  if (!program) return {};
  {
    UniqueHandle file(CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.Get(), program->data(), static_cast<DWORD>(program->size()), &written, nullptr) ||
        written != program->size())
      return {};
  }
  return UniqueHandle(
      CreateFileW(copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// An inheritable handle to wait on, for this process or the uninstaller that asked for it.
UniqueHandle WaitableProcess(DWORD processId) {
  if (processId == GetCurrentProcessId() || processId == 0) {
    HANDLE self = nullptr;
    if (processId == 0 ||
        !DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE, TRUE, 0))
      return {};
    return UniqueHandle(self);
  }
  UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, processId));
  // Only this very program's other process: any other could run for ever.
  wchar_t image[MAX_PATH * 2] = {};
  DWORD length = MAX_PATH * 2;
  if (!process || !QueryFullProcessImageNameW(process.Get(), 0, image, &length) ||
      !SamePath(std::wstring_view(image, length), ProgramFileName()))
    return {};
  return process;
}

std::wstring HandleText(const UniqueHandle& handle) {
  return std::to_wstring(reinterpret_cast<uintptr_t>(handle.Get()));
}

}  // namespace

bool StartFolderRemoval(const std::wstring& folder, DWORD askingProcess, InstallScope scope) {
  const std::wstring temp = MakeCopysFolder(scope);
  if (temp.empty()) return false;
  const std::wstring copy = temp + L"Uninstall.exe";
  UniqueHandle held = WriteHeldCopy(copy);
  // The copy waits on the processes through inherited handles, which,
  // unlike process ids, cannot come to name other processes.
  UniqueHandle self = WaitableProcess(GetCurrentProcessId());
  UniqueHandle asking = WaitableProcess(askingProcess);
  if (!held || !self) return false;
  // A backslash before the closing quote would escape it: the folder's final
  // one is doubled.
  std::wstring quotedFolder = L"\"" + folder + (folder.ends_with(L'\\') ? L"\\\"" : L"\"");
  const wchar_t* which = scope == InstallScope::CurrentUser ? kRemoveUserFolderSwitch : kRemoveFolderSwitch;
  std::wstring command = L"\"" + copy + L"\" " + which + L" " + HandleText(self) + L" " +
                         (asking ? HandleText(asking) : L"0") + L" " + quotedFolder;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, temp.c_str(), &startup,
                      &started))
    return false;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  // Files of the user's (or a folder they keep) hold the folder: not all is gone.
  return OnlyUninstallerLeft(folder);
}

int RemoveFolderAfter(const std::vector<HANDLE>& originals, const std::wstring& folder, InstallScope scope) {
  // Only the installation the entry names: started by hand with another
  // folder, this would delete another program's uninstaller.
  const std::wstring own = folder.ends_with(L'\\') ? folder : folder + L'\\';
  const std::wstring installed = platform::InstalledFolder(scope);
  const bool registered = !installed.empty() && SamePath(installed, own);
  for (HANDLE original : originals) {
    if (registered) (void)WaitForSingleObject(original, INFINITE);
    CloseHandle(original);
  }
  if (!registered) return 1;
  // The ended programs' file may stay mapped for a moment after their end.
  for (int attempt = 0; attempt < 25 && Exists(own); ++attempt, Sleep(200)) {
    for (const wchar_t* name : {L"Uninstall.exe", L"Uninstall.log"}) (void)platform::DeleteUnfollowed(own + name);
    (void)platform::RemoveFolderUnfollowed(own.substr(0, own.size() - 1));
  }
  // With the uninstaller gone, the entry that starts it goes too.
  if (!Exists(own + L"Uninstall.exe")) (void)DeleteKeyTree(platform::EntryRoot(scope), platform::kUninstallKey);
  // This copy cannot delete its own running file; its folder goes with it at
  // the next start (only an administrator may ask for that: a user's copy
  // stays in their temporary folder, as other programs' leftovers do).
  const std::wstring self = ProgramFileName();
  (void)MoveFileExW(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  (void)MoveFileExW(self.substr(0, self.find_last_of(L'\\')).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return Exists(own) ? 1 : 0;
}

}  // namespace lumorix::uninstall
