// The cursor over the video, and the display kept awake while a clip plays.
#include "player/engine/video/video_window.h"

namespace lumorix::engine {

void TDSVideoWindowEx2::SetAutoHideCursor(int milliseconds) {
  autoHideCursor_ = milliseconds > 0 ? milliseconds : 0;
  if (!autoHideCursor_) ShowCursorAgain();
  idleTimer_.SetEnabled(autoHideCursor_ > 0);
}

void TDSVideoWindowEx2::IdleCheck() {
  if (autoHideCursor_ <= 0 || cursorHidden_ || !Renderer()) return;
  if (GetTickCount() - lastMouseTime_ < static_cast<DWORD>(autoHideCursor_)) return;
  if (!OverlayActive()) Renderer()->HideCursor(true);
  cursorHidden_ = true;
  POINT cursor;
  if (GetCursorPos(&cursor)) SetCursorPos(cursor.x, cursor.y);  // makes the shape change show at once
  if (OnCursorShowHide) OnCursorShowHide(false);
}

void TDSVideoWindowEx2::ShowCursorAgain() {
  if (!cursorHidden_) return;
  cursorHidden_ = false;
  if (!OverlayActive() && Renderer()) Renderer()->HideCursor(false);
  POINT cursor;
  if (GetCursorPos(&cursor)) SetCursorPos(cursor.x, cursor.y);
  if (OnCursorShowHide) OnCursorShowHide(true);
}

void TDSVideoWindowEx2::MouseActivity(bool moved) {
  POINT cursor{};
  GetCursorPos(&cursor);
  // The refresh of a hidden cursor's position is a move to the same point: not activity.
  if (moved && cursor.x == lastMouse_.x && cursor.y == lastMouse_.y) return;
  lastMouse_ = cursor;
  lastMouseTime_ = GetTickCount();
  ShowCursorAgain();
}

void TDSVideoWindowEx2::SetNoScreenSaver(bool keepAwake) {
  noScreenSaver_ = keepAwake;
  KeepAwake(playing_);
}

void TDSVideoWindowEx2::KeepAwake(bool playing) {
  playing_ = playing;
  bool awake = noScreenSaver_ && playing_;
  if (awake == keptAwake_) return;
  keptAwake_ = awake;
  SetThreadExecutionState(awake ? ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
}

}  // namespace lumorix::engine
