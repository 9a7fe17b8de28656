#include "ui/progress_bar.h"

#include <commctrl.h>

namespace lumorix::ui {

namespace {
constexpr int kDefaultHeight = 17;
}

ProgressBar::ProgressBar(HWND parent, const Bounds& bounds, int min, int max) {
  Bounds placed = bounds;
  if (placed.height == 0) placed.height = kDefaultHeight;
  CreateControl(PROGRESS_CLASSW, WS_CHILD | WS_VISIBLE, 0, parent, placed);
  SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min), static_cast<LPARAM>(max));
  SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(min), 0);
}

void ProgressBar::SetPosition(int position) { SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0); }

int ProgressBar::Position() const { return static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0)); }

void ProgressBar::SetBarBackground(COLORREF color) { SendMessageW(Handle(), PBM_SETBKCOLOR, 0, color); }

}  // namespace lumorix::ui
