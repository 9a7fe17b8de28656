#include "player/desktop/monitors.h"

#include <map>
#include <string>

namespace lumorix::desktop {

namespace {

std::function<std::vector<DesktopMonitor>()>& TestMonitors() {
  static std::function<std::vector<DesktopMonitor>()> monitors;
  return monitors;
}

struct Target {
  std::wstring path;
  std::wstring name;
};

// The monitors the display configuration drives, by the GDI name of their
// source ("\\.\DISPLAY2"): their device path and the name Windows' settings
// show, both from the EDID. Nothing where the call is missing or fails.
std::map<std::wstring, Target> TargetsBySource() {
  std::map<std::wstring, Target> targets;
  UINT32 pathCount = 0, modeCount = 0;
  if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS) return targets;
  std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
  std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
  if (QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount, modes.data(), nullptr) !=
      ERROR_SUCCESS)
    return targets;
  paths.resize(pathCount);
  for (const DISPLAYCONFIG_PATH_INFO& path : paths) {
    DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
    source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
    source.header.size = sizeof source;
    source.header.adapterId = path.sourceInfo.adapterId;
    source.header.id = path.sourceInfo.id;
    DISPLAYCONFIG_TARGET_DEVICE_NAME target{};
    target.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME;
    target.header.size = sizeof target;
    target.header.adapterId = path.targetInfo.adapterId;
    target.header.id = path.targetInfo.id;
    if (DisplayConfigGetDeviceInfo(&source.header) != ERROR_SUCCESS ||
        DisplayConfigGetDeviceInfo(&target.header) != ERROR_SUCCESS)
      continue;
    // A source shown on two monitors (a clone) is one desktop monitor: the first counts.
    targets.emplace(source.viewGdiDeviceName, Target{target.monitorDevicePath, target.monitorFriendlyDeviceName});
  }
  return targets;
}

// The first monitor on a source, as the older display-device calls give it.
Target DeviceOfSource(const wchar_t* source) {
  DISPLAY_DEVICEW device{};
  device.cb = sizeof device;
  if (!EnumDisplayDevicesW(source, 0, &device, EDD_GET_DEVICE_INTERFACE_NAME)) return {};
  return {device.DeviceID, device.DeviceString};
}

struct Enumeration {
  std::map<std::wstring, Target> targets;
  std::vector<DesktopMonitor> monitors;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto& enumeration = *reinterpret_cast<Enumeration*>(data);
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  Target target;
  if (auto found = enumeration.targets.find(info.szDevice); found != enumeration.targets.end()) target = found->second;
  Target device = target.path.empty() || target.name.empty() ? DeviceOfSource(info.szDevice) : Target{};
  if (target.path.empty()) target.path = device.path;
  if (target.name.empty()) target.name = device.name;
  // Without a monitor behind it (a remote session's display) the source's name is all there is.
  if (target.path.empty()) target.path = info.szDevice;
  if (target.name.empty()) target.name = info.szDevice;
  enumeration.monitors.push_back(
      {FromRect(info.rcMonitor), {target.path, target.name, (info.dwFlags & MONITORINFOF_PRIMARY) != 0}});
  return TRUE;
}

// Two monitors of one model have one name in Windows' settings, told apart by their number there.
void TellApartSameNames(std::vector<DesktopMonitor>& monitors) {
  std::map<std::wstring, int> uses;
  for (const DesktopMonitor& monitor : monitors) ++uses[monitor.named.name];
  std::map<std::wstring, int> numbered;
  for (DesktopMonitor& monitor : monitors)
    if (uses[monitor.named.name] > 1)
      monitor.named.name += L" (" + std::to_wstring(++numbered[monitor.named.name]) + L")";
}

}  // namespace

std::optional<MonitorRect> AreaOfMonitor(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return std::nullopt;
  return FromRect(info.rcMonitor);
}

std::vector<DesktopMonitor> DescribeMonitors() {
  if (TestMonitors()) return TestMonitors()();
  Enumeration enumeration{TargetsBySource(), {}};
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&enumeration));
  TellApartSameNames(enumeration.monitors);
  return enumeration.monitors;
}

std::vector<MonitorRect> DesktopMonitors() {
  std::vector<MonitorRect> areas;
  for (const DesktopMonitor& monitor : DescribeMonitors()) areas.push_back(monitor.area);
  return areas;
}

std::optional<DesktopMonitor> FindMonitor(std::wstring_view identity) {
  for (DesktopMonitor& monitor : DescribeMonitors())
    if (SameMonitor(monitor.named.identity, identity)) return monitor;
  return std::nullopt;
}

void UseMonitorsForTesting(std::function<std::vector<MonitorRect>()> monitors) {
  if (!monitors) {
    TestMonitors() = nullptr;
    return;
  }
  TestMonitors() = [monitors = std::move(monitors)] {
    std::vector<DesktopMonitor> described;
    for (const MonitorRect& area : monitors()) {
      std::wstring place = std::to_wstring(area.left) + L"," + std::to_wstring(area.top);
      described.push_back({area, {L"TEST#" + place, L"Monitor at " + place, area.left == 0 && area.top == 0}});
    }
    return described;
  };
}

void UseDescribedMonitorsForTesting(std::function<std::vector<DesktopMonitor>()> monitors) {
  TestMonitors() = std::move(monitors);
}

}  // namespace lumorix::desktop
