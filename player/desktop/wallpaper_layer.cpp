#include "player/desktop/wallpaper_layer.h"

namespace lumorix::desktop {

namespace {

// Makes Progman create the WorkerW that draws the wallpaper behind the icons.
constexpr UINT kSpawnWallpaperWorker = 0x052C;
// More siblings than any desktop has: a z-order walk never runs away while
// Explorer changes its windows under it.
constexpr int kLongestWalk = 4096;
// WS_EX_NOREDIRECTIONBITMAP (Windows 8 on; the build targets older headers).
constexpr LONG_PTR kNoRedirectionBitmap = 0x00200000;

BOOL CALLBACK FindIconViewHolder(HWND window, LPARAM found) {
  if (!FindWindowExW(window, nullptr, L"SHELLDLL_DefView", nullptr)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND IconViewHolder() {
  HWND holder = nullptr;
  EnumWindows(FindIconViewHolder, reinterpret_cast<LPARAM>(&holder));
  return holder;
}

// Whether `upper` is above `lower` among the children of one parent.
bool Above(HWND upper, HWND lower) {
  HWND next = upper;
  for (int step = 0; step < kLongestWalk && next; ++step) {
    next = GetWindow(next, GW_HWNDNEXT);
    if (next == lower) return true;
  }
  return false;
}

bool Opaque(HWND window) {
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  return GetLayeredWindowAttributes(window, &key, &alpha, &flags) && (flags & LWA_ALPHA) && alpha == 255 &&
         !(flags & LWA_COLORKEY);
}

}  // namespace

std::optional<WallpaperLayer> ReadWallpaperLayer() {
  // Every call here reads the window manager's own records: none of them
  // waits for Explorer's thread.
  HWND progman = FindWindowW(L"Progman", nullptr);
  if (!progman) return std::nullopt;
  ShellFacts facts;
  facts.progman = true;
  facts.progmanUnredirected = (GetWindowLongPtrW(progman, GWL_EXSTYLE) & kNoRedirectionBitmap) != 0;
  HWND worker = FindWindowExW(progman, nullptr, L"WorkerW", nullptr);
  facts.workerInProgman = worker != nullptr;
  HWND classicWorker = nullptr;
  if (!facts.progmanUnredirected && !facts.workerInProgman) {
    // The classic layout: the top-level WorkerW right after the window holding the icon view.
    if (HWND holder = IconViewHolder()) classicWorker = FindWindowExW(nullptr, holder, L"WorkerW", nullptr);
    facts.classicWorker = classicWorker != nullptr;
  }
  WallpaperLayer layer;
  layer.layout = LayoutOf(facts);
  switch (layer.layout) {
    case ShellLayout::kComposed:
      layer.parent = progman;
      layer.iconView = FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr);
      layer.worker = worker;
      return layer;
    case ShellLayout::kClassic:
      layer.parent = classicWorker;
      return layer;
    case ShellLayout::kNone:
      break;
  }
  return std::nullopt;
}

std::optional<WallpaperLayer> LayerNow(const WallpaperLayer& placed) {
  if (!placed.parent || !IsWindow(placed.parent)) return std::nullopt;
  // The classic worker is found by its place among the top-level windows,
  // which other windows change: once found, it is the layer while it lives.
  if (placed.layout == ShellLayout::kClassic) return placed;
  std::optional<WallpaperLayer> now = ReadWallpaperLayer();
  if (!now || now->layout != placed.layout || now->parent != placed.parent) return std::nullopt;
  return now;
}

LayerSearch FindWallpaperLayer() {
  HWND progman = FindWindowW(L"Progman", nullptr);
  if (!progman) return {};
  DWORD_PTR ignored = 0;
  // Blocking: nothing else runs on this thread meanwhile (the wait is short),
  // so no handler finds the hosts half moved. A hung Explorer fails at once.
  if (!SendMessageTimeoutW(progman, kSpawnWallpaperWorker, 0xD, 0x1, SMTO_BLOCK | SMTO_ABORTIFHUNG, kShellAnswerMs,
                           &ignored))
    return {std::nullopt, IsWindow(progman) != FALSE};
  return {ReadWallpaperLayer(), false};
}

bool ShellHasIconView() { return FindWindowW(L"Progman", nullptr) && IconViewHolder(); }

HostFacts FactsOf(HWND host, const WallpaperLayer& layer) {
  HostFacts facts;
  const LONG_PTR style = GetWindowLongPtrW(host, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(host, GWL_EXSTYLE);
  facts.inLayer = layer.parent && GetParent(host) == layer.parent && (style & WS_CHILD) && (style & WS_VISIBLE);
  facts.layered = (exStyle & WS_EX_LAYERED) != 0;
  facts.opaque = facts.layered && Opaque(host);
  facts.belowIconView = !layer.iconView || Above(layer.iconView, host);
  facts.aboveWorker = !layer.worker || Above(host, layer.worker);
  return facts;
}

HWND InsertAfterIn(const WallpaperLayer& layer) {
  if (layer.layout == ShellLayout::kComposed && layer.iconView && IsWindow(layer.iconView)) return layer.iconView;
  return HWND_TOP;
}

}  // namespace lumorix::desktop
