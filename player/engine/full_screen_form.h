#pragma once
// The borderless form that hosts the video window for desktop and
// full-screen playback. As the desktop backdrop it stays below every other
// window and never takes the focus.
#include "ui/form.h"

namespace lumorix::engine {

class TFullScrinForm : public ui::Form {
 public:
  explicit TFullScrinForm(COLORREF color);

  // Below every window, never activated (desktop playback without an overlay).
  void SetBackdrop(bool backdrop);
  bool Backdrop() const { return backdrop_; }
  void CoverMonitor(const RECT& monitor);
  // The video window is going away: the form may close.
  void AllowClose() { closing_ = true; }

 protected:
  void FormCloseQuery(bool& canClose) override { canClose = closing_; }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool backdrop_ = false;
  bool closing_ = false;
};

}  // namespace lumorix::engine
