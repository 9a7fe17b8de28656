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
  bool kept = SetStretchBltMode(dc, COLORONCOLOR) != 0 && (GetClassLongPtrW(window, GCL_STYLE) & CS_OWNDC);
  ReleaseDC(window, dc);
  return kept;
}

}  // namespace lumorix::engine
