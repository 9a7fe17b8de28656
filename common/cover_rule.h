#pragma once
// Which top-level windows hide the desktop of the monitors a clip shows on.
// A window covers a monitor when it fills at least 95 % of it (games and
// borderless windows are rarely exact) or the whole of its work area (a
// maximised window beside the taskbar); the clip is hidden only when every
// one of its monitors is covered.
#include <vector>

namespace lumorix {

struct ScreenRect {
  long left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(const ScreenRect& other) const {
    return left <= other.left && top <= other.top && right >= other.right && bottom >= other.bottom;
  }
  long long Area() const { return Empty() ? 0 : static_cast<long long>(right - left) * (bottom - top); }
};

ScreenRect Intersection(const ScreenRect& a, const ScreenRect& b);

// What is known of one top-level window.
struct TopWindowFacts {
  ScreenRect rect;
  bool visible = false;
  bool minimised = false;
  bool cloaked = false;  // hidden by the window manager (another virtual desktop, a suspended app)
  bool toolWindow = false;
  bool clickThrough = false;  // layered and transparent to the mouse: an overlay, not a cover
  bool shell = false;         // the desktop, the taskbar or a short-lived shell surface (IsShellSurface)
  bool desktopHost = false;   // a window that carries the clip itself
};

struct MonitorArea {
  ScreenRect monitor;
  ScreenRect work;  // the monitor less the taskbar and docked bars
};

bool CoversMonitor(const TopWindowFacts& window, const MonitorArea& area);
bool AnyCovers(const std::vector<TopWindowFacts>& windows, const MonitorArea& area);
// Every monitor is covered by some window; no monitor at all is nothing hidden.
bool AllCovered(const std::vector<TopWindowFacts>& windows, const std::vector<MonitorArea>& areas);

}  // namespace lumorix
