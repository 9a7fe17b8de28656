#pragma once
// Where a desktop picture goes among Explorer's desktop windows. Explorer
// builds its desktop in one of two ways:
// - classic (Windows 10, Windows 11 before 24H2): message 0x052C to Progman
//   gives a top-level WorkerW right behind the window holding the icon view
//   (SHELLDLL_DefView); the picture is a plain child of that worker;
// - composed (Windows 11 24H2 and later): Progman keeps the icon view and
//   the wallpaper's WorkerW as layered children and has no surface of its own
//   (WS_EX_NOREDIRECTIONBITMAP); the picture must be a layered child of
//   Progman, opaque, between the icon view above it and the worker below.
namespace lumorix {

enum class ShellLayout { kNone, kClassic, kComposed };

// What Explorer's windows show, read without asking Explorer anything.
struct ShellFacts {
  bool progman = false;
  bool progmanUnredirected = false;  // Progman has WS_EX_NOREDIRECTIONBITMAP
  bool workerInProgman = false;      // a WorkerW is a child of Progman
  bool classicWorker = false;        // a top-level WorkerW right behind the icon view's top-level window
};

// None: no Progman, or a classic one that has made no worker yet (ask again).
// A composed Progman takes the picture also without a worker (0x052C made
// none) and without an icon view ("Show desktop icons" off).
ShellLayout LayoutOf(const ShellFacts& facts);

// The host as it sits in the layer now.
struct HostFacts {
  bool inLayer = false;        // a shown child (WS_CHILD) of the layer's window
  bool layered = false;        // WS_EX_LAYERED
  bool opaque = false;         // layered at alpha 255, no colour key
  bool belowIconView = false;  // under the icon view in the z-order, or there is none
  bool aboveWorker = false;    // over the wallpaper's worker, or there is none
};

// What puts a host right again, cheapest first; a host out of its layer is
// hosted again from the start (a child first, layered afterwards).
struct LayerRepair {
  bool rehost = false;
  bool restyle = false;  // layered again at alpha 255 (it is a child already)
  bool reorder = false;  // under the icon view again
  bool Needed() const { return rehost || restyle || reorder; }
};

LayerRepair RepairFor(ShellLayout layout, const HostFacts& host);

}  // namespace lumorix
