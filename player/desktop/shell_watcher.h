#pragma once
// A hidden top-level window that hears the shell announce a new taskbar
// (which is how a restarted Explorer makes itself known) and the display
// change: a resolution, a monitor added or removed, a scale, the taskbar moved.
// A burst of such messages is answered once, shortly after the last.
#include <functional>

#include "ui/window.h"

namespace lumorix::desktop {

class ShellRestartWatcher : public ui::Window {
 public:
  ShellRestartWatcher();
  std::function<void()> OnShellRestarted;
  std::function<void()> OnDisplayChanged;
  // Runs `OnRearrange` from the message loop, after what is under way now.
  void PostRearrange();
  std::function<void()> OnRearrange;

  // How long the display must have been quiet before OnDisplayChanged.
  static constexpr UINT kDisplaySettleMs = 250;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  UINT taskbarCreated_;
};

}  // namespace lumorix::desktop
