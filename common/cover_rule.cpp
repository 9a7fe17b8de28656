#include "common/cover_rule.h"

#include <algorithm>

namespace lumorix {

namespace {

constexpr long long kCoverPercent = 95;

// Could cover something: the flags alone rule the window out or not.
bool MayCover(const TopWindowFacts& window) {
  return window.visible && !window.minimised && !window.cloaked && !window.toolWindow && !window.clickThrough &&
         !window.shell && !window.desktopHost && !window.rect.Empty();
}

}  // namespace

ScreenRect Intersection(const ScreenRect& a, const ScreenRect& b) {
  ScreenRect both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                  std::min(a.bottom, b.bottom)};
  return both.Empty() ? ScreenRect{} : both;
}

bool CoversMonitor(const TopWindowFacts& window, const MonitorArea& area) {
  if (!MayCover(window) || area.monitor.Empty()) return false;
  if (!area.work.Empty() && window.rect.Contains(area.work)) return true;
  // Whole pixels in 64 bits: a 16K monitor's area stays exact.
  return Intersection(window.rect, area.monitor).Area() * 100 >= area.monitor.Area() * kCoverPercent;
}

bool AnyCovers(const std::vector<TopWindowFacts>& windows, const MonitorArea& area) {
  return std::any_of(windows.begin(), windows.end(),
                     [&area](const TopWindowFacts& window) { return CoversMonitor(window, area); });
}

bool AllCovered(const std::vector<TopWindowFacts>& windows, const std::vector<MonitorArea>& areas) {
  return !areas.empty() && std::all_of(areas.begin(), areas.end(),
                                       [&windows](const MonitorArea& area) { return AnyCovers(windows, area); });
}

}  // namespace lumorix
