#include "common/monitor_layout.h"

#include <algorithm>

#include "common/design_scale.h"
#include "common/video_geometry.h"

namespace lumorix {

namespace {

bool Empty(const MonitorRect& rect) { return rect.Width() <= 0 || rect.Height() <= 0; }

std::vector<MonitorRect> Usable(const std::vector<MonitorRect>& monitors) {
  std::vector<MonitorRect> usable;
  for (const MonitorRect& monitor : monitors)
    if (!Empty(monitor)) usable.push_back(monitor);
  return usable;
}

}  // namespace

ShowOn DecodeShowOn(const std::optional<RawValue>& value) {
  if (!value || value->type != kRegDword || value->data.size() != 4) return ShowOn::PrimaryMonitor;
  uint32_t number = value->data[0] | value->data[1] << 8 | value->data[2] << 16 | uint32_t{value->data[3]} << 24;
  if (number > static_cast<uint32_t>(ShowOn::EachMonitorOwnList)) return ShowOn::PrimaryMonitor;
  return static_cast<ShowOn>(number);
}

size_t PrimaryIndex(const std::vector<MonitorRect>& monitors) {
  for (size_t i = 0; i < monitors.size(); ++i)
    if (monitors[i].left == 0 && monitors[i].top == 0 && !Empty(monitors[i])) return i;
  return 0;
}

std::vector<MonitorRect> HostAreas(ShowOn mode, const std::vector<MonitorRect>& monitors) {
  std::vector<MonitorRect> usable = Usable(monitors);
  if (usable.empty()) return {};
  const MonitorRect primary = usable[PrimaryIndex(usable)];
  switch (mode) {
    case ShowOn::EveryMonitor: {
      std::vector<MonitorRect> areas{primary};
      for (const MonitorRect& monitor : usable)
        if (!(monitor == primary)) areas.push_back(monitor);
      return areas;
    }
    case ShowOn::AcrossMonitors: {
      MonitorRect all = usable.front();
      for (const MonitorRect& monitor : usable) {
        all.left = std::min(all.left, monitor.left);
        all.top = std::min(all.top, monitor.top);
        all.right = std::max(all.right, monitor.right);
        all.bottom = std::max(all.bottom, monitor.bottom);
      }
      return {all};
    }
    case ShowOn::PrimaryMonitor:
    case ShowOn::EachMonitorOwnList:
    default:
      return {primary};
  }
}

std::vector<MonitorRect> ShownMonitors(ShowOn mode, const std::vector<MonitorRect>& monitors) {
  if (mode == ShowOn::PrimaryMonitor || mode == ShowOn::EachMonitorOwnList) return HostAreas(mode, monitors);
  return HostAreas(ShowOn::EveryMonitor, monitors);
}

MonitorRect LetterBoxIn(const MonitorRect& area, int aspectX, int aspectY) {
  PictureRect fit = LetterBoxFit(area.Width(), area.Height(), aspectX, aspectY);
  return {area.left + fit.left, area.top + fit.top, area.left + fit.left + fit.width, area.top + fit.top + fit.height};
}

int ToPhysical(int length, int dpi) { return ScaleToDpi(length, dpi); }

MonitorRect ToPhysical(const MonitorRect& rect, int dpi) {
  return {ToPhysical(rect.left, dpi), ToPhysical(rect.top, dpi), ToPhysical(rect.right, dpi),
          ToPhysical(rect.bottom, dpi)};
}

}  // namespace lumorix
