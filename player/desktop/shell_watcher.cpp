#include "player/desktop/shell_watcher.h"

#include <wtsapi32.h>

#include "platform/system_library.h"

namespace lumorix::desktop {

namespace {
constexpr UINT_PTR kDisplayTimer = 1;
constexpr UINT_PTR kShellTimer = 2;
constexpr UINT kRearrangeMessage = WM_APP + 30;

bool IsLayerChange(WPARAM wParam, LPARAM lParam) {
  if (wParam == SPI_SETDESKWALLPAPER) return true;
  // Light and dark mode, accent colours, a theme's elements.
  const auto* area = reinterpret_cast<const wchar_t*>(lParam);
  return area && (lstrcmpiW(area, L"ImmersiveColorSet") == 0 || lstrcmpiW(area, L"WindowsThemeElement") == 0);
}
}  // namespace

ShellRestartWatcher::ShellRestartWatcher() : taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  // Top level (broadcasts reach only those), never shown, no taskbar button.
  CreateOwn(L"LumorixShellWatcher", 0, WS_POPUP, WS_EX_TOOLWINDOW, nullptr, {});
  static const auto registerSession = platform::SystemFunction<decltype(&WTSRegisterSessionNotification)>(
      L"wtsapi32.dll", "WTSRegisterSessionNotification");
  sessionRegistered_ = registerSession && registerSession(Handle(), NOTIFY_FOR_THIS_SESSION) != FALSE;
}

ShellRestartWatcher::~ShellRestartWatcher() {
  static const auto unregisterSession = platform::SystemFunction<decltype(&WTSUnRegisterSessionNotification)>(
      L"wtsapi32.dll", "WTSUnRegisterSessionNotification");
  if (sessionRegistered_ && unregisterSession) unregisterSession(Handle());
}

void ShellRestartWatcher::PostRearrange() { PostMessageW(Handle(), kRearrangeMessage, 0, 0); }

void ShellRestartWatcher::ShellChangeSoon() { SetTimer(Handle(), kShellTimer, kShellSettleMs, nullptr); }

bool ShellRestartWatcher::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SETTINGCHANGE:
      if (IsLayerChange(wParam, lParam)) {
        ShellChangeSoon();
        result = 0;
        return true;
      }
      if (wParam != SPI_SETWORKAREA) return ui::Window::OnMessage(message, wParam, lParam, result);
      [[fallthrough]];
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
      SetTimer(Handle(), kDisplayTimer, kDisplaySettleMs, nullptr);  // restarts a running one
      result = 0;
      return true;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
    case WM_DWMCOMPOSITIONCHANGED:
      ShellChangeSoon();
      result = 0;
      return true;
    case WM_WTSSESSION_CHANGE:
      if (wParam == WTS_SESSION_UNLOCK || wParam == WTS_CONSOLE_CONNECT || wParam == WTS_REMOTE_CONNECT)
        ShellChangeSoon();
      result = 0;
      return true;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) ShellChangeSoon();
      result = TRUE;
      return true;
    case WM_TIMER:
      if (wParam != kDisplayTimer && wParam != kShellTimer)
        return ui::Window::OnMessage(message, wParam, lParam, result);
      KillTimer(Handle(), wParam);
      if (wParam == kDisplayTimer && OnDisplayChanged) OnDisplayChanged();
      if (wParam == kShellTimer && OnShellMayHaveChanged) OnShellMayHaveChanged();
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
