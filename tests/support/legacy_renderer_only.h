#pragma once
// For the life of the object, video windows get the legacy Video Renderer:
// the enhanced one is refused as where the system has none. For the tests of
// the overlay's world, where the window's own renderer is the legacy one.
#include "player/engine/render/renderer_choice.h"

namespace lumorix::test {

struct LegacyRendererOnly {
  LegacyRendererOnly() {
    engine::SetEnhancedFilterFactory([](ComPtr<IBaseFilter>&) { return REGDB_E_CLASSNOTREG; });
  }
  ~LegacyRendererOnly() { engine::SetEnhancedFilterFactory(nullptr); }
  LegacyRendererOnly(const LegacyRendererOnly&) = delete;
  LegacyRendererOnly& operator=(const LegacyRendererOnly&) = delete;
};

}  // namespace lumorix::test
