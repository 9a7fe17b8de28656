#pragma once
// The mouse pointer shown or hidden outright. ShowCursor keeps a count per
// thread, so unpaired calls (the settings window shown at every start, a
// second screen-saver start) would leave the pointer stuck one way; these
// set the count to just shown (0) or just hidden (-1) instead.
#include <windows.h>

namespace lumorix::ui {

inline void ShowPointer() {
  int count = ShowCursor(TRUE);
  while (count < 0) count = ShowCursor(TRUE);
  while (count > 0) count = ShowCursor(FALSE);
}

inline void HidePointer() {
  int count = ShowCursor(FALSE);
  while (count >= 0) count = ShowCursor(FALSE);
  while (count < -1) count = ShowCursor(TRUE);
}

}  // namespace lumorix::ui
