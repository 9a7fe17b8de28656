#pragma once
// A hidden top-level window that hears the shell announce a new taskbar
// (which is how a restarted Explorer makes itself known), the display change
// (a resolution, a monitor added or removed, a scale, the taskbar moved), and
// what may make Explorer rebuild its desktop windows: a new wallpaper, theme
// or colours, the session unlocked or connected again, the machine awake
// again. A burst of such messages is answered once, shortly after the last.
#include <functional>

#include "ui/window.h"

namespace lumorix::desktop {

class ShellRestartWatcher : public ui::Window {
 public:
  ShellRestartWatcher();
  ~ShellRestartWatcher() override;
  std::function<void()> OnShellRestarted;
  std::function<void()> OnDisplayChanged;
  std::function<void()> OnShellMayHaveChanged;
  // Runs `OnRearrange` from the message loop, after what is under way now.
  void PostRearrange();
  std::function<void()> OnRearrange;

  // How long the display must have been quiet before OnDisplayChanged.
  static constexpr UINT kDisplaySettleMs = 250;
  // How long after the last change the shell is looked at.
  static constexpr UINT kShellSettleMs = 250;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void ShellChangeSoon();

  UINT taskbarCreated_;
  bool sessionRegistered_ = false;
};

}  // namespace lumorix::desktop
