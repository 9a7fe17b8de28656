#include "platform/wine_host.h"

#include <windows.h>

namespace lumorix::platform {

bool RunningOnWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace lumorix::platform
