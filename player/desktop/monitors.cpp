#include "player/desktop/monitors.h"

namespace lumorix::desktop {

namespace {

std::function<std::vector<MonitorRect>()>& TestMonitors() {
  static std::function<std::vector<MonitorRect>()> monitors;
  return monitors;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  if (auto area = AreaOfMonitor(monitor)) reinterpret_cast<std::vector<MonitorRect>*>(list)->push_back(*area);
  return TRUE;
}

}  // namespace

std::optional<MonitorRect> AreaOfMonitor(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return std::nullopt;
  return FromRect(info.rcMonitor);
}

std::vector<MonitorRect> DesktopMonitors() {
  if (TestMonitors()) return TestMonitors()();
  std::vector<MonitorRect> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

void UseMonitorsForTesting(std::function<std::vector<MonitorRect>()> monitors) { TestMonitors() = std::move(monitors); }

}  // namespace lumorix::desktop
