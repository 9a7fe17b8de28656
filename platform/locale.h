#pragma once
#include <windows.h>

namespace lumorix {

// The user's decimal separator, for numbers shown in the window.
inline char DecimalSeparator() {
  wchar_t separator[4] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) > 0 && separator[0] < 0x80)
    return static_cast<char>(separator[0]);
  return '.';
}

}  // namespace lumorix
