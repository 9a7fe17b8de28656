#pragma once
// The desktop's monitors as the hosts see them: physical pixels (the player
// is Per-Monitor V2 aware, so the system reports them unscaled).
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "common/monitor_layout.h"
#include "common/monitor_lists.h"

namespace lumorix::desktop {

std::vector<MonitorRect> DesktopMonitors();
// The rectangle of one monitor; none for a monitor that is gone.
std::optional<MonitorRect> AreaOfMonitor(HMONITOR monitor);

// A monitor with what it is known by: the identity Windows gives it (the
// device interface path of the monitor, made from its EDID), its name as
// Windows shows it (the EDID's model name) and whether it is the primary.
struct DesktopMonitor {
  MonitorRect area;
  NamedMonitor named;
};
std::vector<DesktopMonitor> DescribeMonitors();
// The monitor of that identity now; none when it is not connected.
std::optional<DesktopMonitor> FindMonitor(std::wstring_view identity);

// A test hands in monitors of its own (parts of the one screen a test display
// has); null gives the system's again. Monitors given as rectangles only are
// named by their place, the one at the origin primary.
void UseMonitorsForTesting(std::function<std::vector<MonitorRect>()> monitors);
void UseDescribedMonitorsForTesting(std::function<std::vector<DesktopMonitor>()> monitors);

inline RECT ToRect(const MonitorRect& area) { return {area.left, area.top, area.right, area.bottom}; }
inline MonitorRect FromRect(const RECT& rect) {
  return {static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
          static_cast<int>(rect.bottom)};
}

}  // namespace lumorix::desktop
