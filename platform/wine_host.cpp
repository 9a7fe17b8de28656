#include "platform/wine_host.h"

#include <windows.h>

namespace lumorix::platform {

bool RunningOnWine() {
  // Asked on every copied frame: looked up once.
  static const bool onWine = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return onWine;
}

}  // namespace lumorix::platform
