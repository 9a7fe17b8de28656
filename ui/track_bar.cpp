#include "ui/track_bar.h"

#include <commctrl.h>

namespace lumorix::ui {

TrackBar::TrackBar(HWND parent, const Bounds& bounds, const TrackBarDesign& design)
    : min_(design.min), max_(design.max < design.min ? design.min : design.max), position_(0) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  style |= design.orientation == Orientation::Vertical ? TBS_VERT : TBS_HORZ;
  switch (design.tickMarks) {
    case TickMarks::BottomRight:
      style |= design.orientation == Orientation::Vertical ? TBS_RIGHT : TBS_BOTTOM;
      break;
    case TickMarks::TopLeft:
      style |= design.orientation == Orientation::Vertical ? TBS_LEFT : TBS_TOP;
      break;
    case TickMarks::Both:
      style |= TBS_BOTH;
      break;
  }
  if (design.tickStyle == TickStyle::None) style |= TBS_NOTICKS;
  if (design.tickStyle == TickStyle::Auto) style |= TBS_AUTOTICKS;
  CreateControl(TRACKBAR_CLASSW, style, 0, parent, bounds);
  ApplyRange();
  if (design.tickStyle == TickStyle::Auto) SendMessageW(Handle(), TBM_SETTICFREQ, design.frequency, 0);
  position_ = Clamp(design.position);
  SendMessageW(Handle(), TBM_SETPOS, TRUE, position_);
}

void TrackBar::ApplyRange() {
  SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, min_);
  SendMessageW(Handle(), TBM_SETRANGEMAX, TRUE, max_);
}

void TrackBar::SetPosition(int position) {
  position = Clamp(position);
  if (position == position_) return;
  position_ = position;
  SendMessageW(Handle(), TBM_SETPOS, TRUE, position_);
  Changed();
}

void TrackBar::SetRange(int min, int max) {
  min_ = min;
  max_ = max < min ? min : max;
  ApplyRange();
  SetPosition(position_);
}

void TrackBar::SetMin(int min) { SetRange(min, max_ < min ? min : max_); }
void TrackBar::SetMax(int max) { SetRange(min_ > max ? max : min_, max); }

void TrackBar::Changed() {
  if (OnChange) OnChange();
}

bool TrackBar::OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_HSCROLL || message == WM_VSCROLL) {
    int position = static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
    if (position != position_) {
      position_ = position;
      Changed();
    }
    result = 0;
    return true;
  }
  return Window::OnReflected(message, wParam, lParam, result);
}

}  // namespace lumorix::ui
