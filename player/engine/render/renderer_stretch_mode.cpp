#include "player/engine/render/renderer_stretch_mode.h"

#include "platform/wine_host.h"

namespace lumorix::engine {

bool KeepColorOnColorStretch(HWND window) {
  if (!window || !platform::RunningOnWine()) return false;
  // Wine gives a window its own DC at the first GetDC after the class has
  // CS_OWNDC, so a renderer window made before this call gets one too.
  ULONG_PTR style = GetClassLongPtrW(window, GCL_STYLE);
  if (!(style & CS_OWNDC)) SetClassLongPtrW(window, GCL_STYLE, static_cast<LONG_PTR>(style | CS_OWNDC));
  HDC dc = GetDC(window);
  if (!dc) return false;
  // Wine refuses a DC while another thread draws with it, and the renderer's
  // thread may be drawing a frame just now.
  bool set = false;
  for (int attempt = 0; attempt < 50 && !set; ++attempt) {
    set = SetStretchBltMode(dc, COLORONCOLOR) != 0;
    if (!set) Sleep(1);
  }
  ReleaseDC(window, dc);
  return set && (GetClassLongPtrW(window, GCL_STYLE) & CS_OWNDC);
}

}  // namespace lumorix::engine
