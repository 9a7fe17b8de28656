#include "player/engine/shell_watcher.h"

namespace lumorix::engine {

ShellRestartWatcher::ShellRestartWatcher() : taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  // Top level (broadcasts reach only those), never shown, no taskbar button.
  CreateOwn(L"LumorixShellWatcher", 0, WS_POPUP, WS_EX_TOOLWINDOW, nullptr, {});
}

bool ShellRestartWatcher::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_DISPLAYCHANGE) {
    if (OnDisplayChanged) OnDisplayChanged();
    result = 0;
    return true;
  }
  if (message != taskbarCreated_ || message == 0) return ui::Window::OnMessage(message, wParam, lParam, result);
  if (OnShellRestarted) OnShellRestarted();
  result = 0;
  return true;
}

}  // namespace lumorix::engine
