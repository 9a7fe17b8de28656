#pragma once
// Which top-level window hides the desktop of a monitor. A window counts
// when it is maximised on that monitor or when its rectangle covers the
// monitor's work area (so a full-screen window counts with or without the
// taskbar showing); one that covers only a part of it does not.
#include <vector>

namespace lumorix {

struct ScreenRect {
  long left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(const ScreenRect& other) const {
    return left <= other.left && top <= other.top && right >= other.right && bottom >= other.bottom;
  }
};

// What is known of one top-level window.
struct TopWindowFacts {
  ScreenRect rect;
  bool visible = false;
  bool minimised = false;
  bool maximised = false;
  bool onMonitor = false;  // the window's monitor is the watched one
  bool cloaked = false;    // hidden by the window manager (another virtual desktop, a suspended app)
  bool toolWindow = false;
  bool clickThrough = false;  // layered and transparent to the mouse: an overlay, not a cover
  bool shell = false;         // the taskbar or the shell's own desktop windows
  bool desktopHost = false;   // the window that carries the clip itself
};

struct MonitorArea {
  ScreenRect monitor;
  ScreenRect work;  // the monitor less the taskbar and docked bars
};

bool CoversMonitor(const TopWindowFacts& window, const MonitorArea& area);
bool AnyCovers(const std::vector<TopWindowFacts>& windows, const MonitorArea& area);

}  // namespace lumorix
