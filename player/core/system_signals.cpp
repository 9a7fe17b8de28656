#include "player/core/system_signals.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/system_library.h"

namespace lumorix {

namespace {

using NotificationStateQuery = HRESULT(WINAPI*)(QUERY_USER_NOTIFICATION_STATE*);

class WindowsSystemSignals final : public SystemSignals {
 public:
  WindowsSystemSignals() {
    // Looked up rather than imported: a shell without it must not keep the player from starting.
    query_ = platform::SystemFunction<NotificationStateQuery>(L"shell32.dll", "SHQueryUserNotificationState");
  }

  NotificationState UserNotificationState() override {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (!query_ || FAILED(query_(&state))) return NotificationState::Unknown;
    return static_cast<NotificationState>(state);
  }

  std::optional<PowerReading> PowerStatus() override {
    SYSTEM_POWER_STATUS status{};
    if (!GetSystemPowerStatus(&status)) return std::nullopt;
    // SystemStatusFlag in newer headers: the battery-saver state since Windows 10.
    return PowerReading{status.ACLineStatus, status.Reserved1};
  }

  bool RemoteSession() override { return GetSystemMetrics(SM_REMOTESESSION) != 0; }

  std::optional<ScreenRect> ForegroundMonitor() override {
    HWND foreground = GetForegroundWindow();
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!foreground || !GetMonitorInfoW(MonitorFromWindow(foreground, MONITOR_DEFAULTTONULL), &info))
      return std::nullopt;
    return ScreenRect{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
  }

 private:
  NotificationStateQuery query_ = nullptr;
};

}  // namespace

std::unique_ptr<SystemSignals> WindowsSignals() { return std::make_unique<WindowsSystemSignals>(); }

}  // namespace lumorix
