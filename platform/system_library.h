#pragma once
// A function of a system DLL that is no known DLL, taken from the system
// folder only: imported by name, such a DLL would be looked for beside the
// program first. The DLL stays loaded for the rest of the process.
#include <windows.h>

namespace lumorix::platform {

template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace lumorix::platform
