#pragma once
// The desktop's monitors as the hosts see them: physical pixels (the player
// is Per-Monitor V2 aware, so the system reports them unscaled).
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "common/monitor_layout.h"

namespace lumorix::desktop {

std::vector<MonitorRect> DesktopMonitors();
// The rectangle of one monitor; none for a monitor that is gone.
std::optional<MonitorRect> AreaOfMonitor(HMONITOR monitor);

// A test hands in monitors of its own (parts of the one screen a test display
// has); null gives the system's again.
void UseMonitorsForTesting(std::function<std::vector<MonitorRect>()> monitors);

inline RECT ToRect(const MonitorRect& area) { return {area.left, area.top, area.right, area.bottom}; }
inline MonitorRect FromRect(const RECT& rect) {
  return {static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
          static_cast<int>(rect.bottom)};
}

}  // namespace lumorix::desktop
