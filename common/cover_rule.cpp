#include "common/cover_rule.h"

#include <algorithm>

namespace lumorix {

bool CoversMonitor(const TopWindowFacts& window, const MonitorArea& area) {
  if (!window.visible || window.minimised || window.cloaked || window.toolWindow || window.clickThrough ||
      window.shell || window.desktopHost || window.rect.Empty())
    return false;
  if (window.maximised && window.onMonitor) return true;
  const ScreenRect& needed = area.work.Empty() ? area.monitor : area.work;
  return !needed.Empty() && window.rect.Contains(needed);
}

bool AnyCovers(const std::vector<TopWindowFacts>& windows, const MonitorArea& area) {
  return std::any_of(windows.begin(), windows.end(),
                     [&area](const TopWindowFacts& window) { return CoversMonitor(window, area); });
}

}  // namespace lumorix
