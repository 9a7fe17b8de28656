#pragma once
// For the life of the object, video windows get the legacy Video Renderer:
// Direct3D 11 refuses every device, as on a system without it. For the tests
// of the overlay's world and of the fallback, where the window's own
// renderer is the legacy one.
#include "player/engine/d3d11/video_device.h"

namespace lumorix::test {

struct LegacyRendererOnly {
  LegacyRendererOnly() {
    engine::SetVideoDeviceFactory([](ComPtr<ID3D11Device>&) { return DXGI_ERROR_UNSUPPORTED; });
  }
  ~LegacyRendererOnly() { engine::SetVideoDeviceFactory(nullptr); }
  LegacyRendererOnly(const LegacyRendererOnly&) = delete;
  LegacyRendererOnly& operator=(const LegacyRendererOnly&) = delete;
};

}  // namespace lumorix::test
