#pragma once
// Decoding on the graphics card for the Media Foundation source: where the
// graph's video renderer offers a DXGI device manager (the player's own
// renderer does), the source readers opened while it is in scope get it, so
// a decoder that can decodes into Direct3D 11 textures of the renderer's
// device; without one they decode into memory.
#include <windows.h>
#include <mfobjects.h>
#include "platform/dshow.h"

#include "platform/com.h"

namespace lumorix::engine {

// The device manager of the first filter in the graph that offers one.
ComPtr<IUnknown> DecodingDeviceOf(IFilterGraph* graph);

// Makes `device` the one readers opened on this thread get, until the end of the scope.
class DecodingDeviceScope {
 public:
  explicit DecodingDeviceScope(ComPtr<IUnknown> device);
  ~DecodingDeviceScope();
  DecodingDeviceScope(const DecodingDeviceScope&) = delete;
  DecodingDeviceScope& operator=(const DecodingDeviceScope&) = delete;

 private:
  ComPtr<IUnknown> previous_;
};

// A reader's attributes: the device manager in scope and hardware
// transforms allowed; false (nothing added) when there is none.
bool AddDecodingDevice(IMFAttributes* attributes);

// The texture a decoded sample's one buffer lies in, and the picture's index in it.
[[nodiscard]] bool DecodedTexture(IMFSample* sample, ComPtr<IUnknown>& texture, UINT& subresource);

}  // namespace lumorix::engine
