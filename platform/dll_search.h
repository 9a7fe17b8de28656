#pragma once
// Where the program may load DLLs from once it runs: the system folder only.
// The default search starts with the program's own folder, which for a
// downloaded installer is a folder every program of the user can write; a
// DLL planted there under a system DLL's name would run with the installer's
// administrator rights. Called first thing in every entry point.
#include <windows.h>

namespace lumorix::platform {

inline void LoadDllsFromSystemFolderOnly() {
  // Windows 7 without its 2011 loader update lacks the call; taking the
  // current folder out of the search is all that is left there.
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  auto set = reinterpret_cast<SetDirectories>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (!set || !set(LOAD_LIBRARY_SEARCH_SYSTEM32)) (void)SetDllDirectoryW(L"");
}

}  // namespace lumorix::platform
