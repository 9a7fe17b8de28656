#pragma once
// The largest picture worth handing a renderer: the whole screen area, every
// monitor together (the virtual screen), so every monitor mode fits in it.
#include <windows.h>

namespace lumorix::engine {

inline SIZE ScreenAreaSize() { return {GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)}; }

}  // namespace lumorix::engine
