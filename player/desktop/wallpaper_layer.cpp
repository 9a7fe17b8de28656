#include "player/desktop/wallpaper_layer.h"

namespace lumorix::desktop {

namespace {

// Makes Progman create the WorkerW that draws the wallpaper behind the icons.
constexpr UINT kSpawnWallpaperWorker = 0x052C;

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

}  // namespace

std::optional<WallpaperLayer> FindWallpaperLayer() {
  HWND progman = FindWindowW(L"Progman", nullptr);
  if (!progman) return std::nullopt;
  DWORD_PTR ignored = 0;
  (void)SendMessageTimeoutW(progman, kSpawnWallpaperWorker, 0xD, 0x1, SMTO_NORMAL, 1000, &ignored);

  // Windows 11 24H2 and later: the worker is a child of Progman, beside the icon
  // view when there is one. With "Show desktop icons" off the view may be gone:
  // the host then goes on top of the worker.
  if (FindWindowExW(progman, nullptr, L"WorkerW", nullptr)) {
    HWND iconView = FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr);
    return WallpaperLayer{progman, iconView};
  }

  // The classic layout: the top-level WorkerW right after the window holding the icon view.
  HWND holder = IconViewHolder();
  if (!holder) return std::nullopt;
  HWND worker = FindWindowExW(nullptr, holder, L"WorkerW", nullptr);
  if (!worker) return std::nullopt;
  return WallpaperLayer{worker, nullptr};
}

bool ShellHasIconView() { return FindWindowW(L"Progman", nullptr) && IconViewHolder(); }

}  // namespace lumorix::desktop
