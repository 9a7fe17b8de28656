#pragma once
// A hidden top-level window that hears the shell announce a new taskbar
// (which is how a restarted Explorer makes itself known) and the display
// change its size or layout.
#include <functional>

#include "ui/window.h"

namespace lumorix::engine {

class ShellRestartWatcher : public ui::Window {
 public:
  ShellRestartWatcher();
  std::function<void()> OnShellRestarted;
  std::function<void()> OnDisplayChanged;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  UINT taskbarCreated_;
};

}  // namespace lumorix::engine
