#pragma once
// Where desktop playback puts its hosts for a list of monitors: which monitor
// or monitors the setting "Show on" asks for, the rectangle each host covers
// and where the picture goes inside it. Rectangles are in the desktop's
// coordinates (a monitor left of or above the primary has negative ones).
#include <cstdint>
#include <optional>
#include <vector>

#include "common/settings_value.h"

namespace lumorix {

struct MonitorRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const MonitorRect&) const = default;
};

// The setting "Show on" as stored (kShowOn, a DWORD in the settings key).
// EachMonitorOwnList: the primary plays the playlist, every other monitor a
// list of its own, each in its own graph.
enum class ShowOn : int32_t { PrimaryMonitor = 0, EveryMonitor = 1, AcrossMonitors = 2, EachMonitorOwnList = 3 };

// Anything but a REG_DWORD holding one of the four values (missing, damaged,
// written by another version) reads as the primary monitor.
ShowOn DecodeShowOn(const std::optional<RawValue>& value);

// The primary monitor is the one at the desktop's origin; without one, the first.
size_t PrimaryIndex(const std::vector<MonitorRect>& monitors);

// One rectangle per host: the primary monitor's (also with a list of its own
// on each: the other monitors' hosts are their own players'); each monitor's
// (the primary's first); or the smallest rectangle holding every monitor.
// Empty monitors are left out; no monitor, no host.
std::vector<MonitorRect> HostAreas(ShowOn mode, const std::vector<MonitorRect>& monitors);

// The monitors the picture is seen on, for the automatic pause (with a list
// on each monitor, the primary's picture is seen on the primary only).
std::vector<MonitorRect> ShownMonitors(ShowOn mode, const std::vector<MonitorRect>& monitors);

// A picture of aspect aspectX:aspectY letter-boxed inside `area`, in the same
// coordinates; a picture without an aspect fills the area.
MonitorRect LetterBoxIn(const MonitorRect& area, int aspectX, int aspectY);

// A length or rectangle given at 96 dots per inch, in physical pixels of a
// monitor at `dpi` (rounded as Windows' MulDiv); a dpi of 0 or less is 96.
int ToPhysical(int length, int dpi);
MonitorRect ToPhysical(const MonitorRect& rect, int dpi);

}  // namespace lumorix
