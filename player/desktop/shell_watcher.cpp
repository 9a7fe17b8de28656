#include "player/desktop/shell_watcher.h"

namespace lumorix::desktop {

namespace {
constexpr UINT_PTR kDisplayTimer = 1;
constexpr UINT kRearrangeMessage = WM_APP + 30;
}  // namespace

ShellRestartWatcher::ShellRestartWatcher() : taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  // Top level (broadcasts reach only those), never shown, no taskbar button.
  CreateOwn(L"LumorixShellWatcher", 0, WS_POPUP, WS_EX_TOOLWINDOW, nullptr, {});
}

void ShellRestartWatcher::PostRearrange() { PostMessageW(Handle(), kRearrangeMessage, 0, 0); }

bool ShellRestartWatcher::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SETTINGCHANGE:
      if (wParam != SPI_SETWORKAREA) return ui::Window::OnMessage(message, wParam, lParam, result);
      [[fallthrough]];
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
      SetTimer(Handle(), kDisplayTimer, kDisplaySettleMs, nullptr);  // restarts a running one
      result = 0;
      return true;
    case WM_TIMER:
      if (wParam != kDisplayTimer) return ui::Window::OnMessage(message, wParam, lParam, result);
      KillTimer(Handle(), kDisplayTimer);
      if (OnDisplayChanged) OnDisplayChanged();
      result = 0;
      return true;
    case kRearrangeMessage:
      if (OnRearrange) OnRearrange();
      result = 0;
      return true;
    default:
      if (message != taskbarCreated_ || message == 0) return ui::Window::OnMessage(message, wParam, lParam, result);
      if (OnShellRestarted) OnShellRestarted();
      result = 0;
      return true;
  }
}

}  // namespace lumorix::desktop
