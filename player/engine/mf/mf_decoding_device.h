#pragma once
// Decoding on the graphics card for the Media Foundation source: where the
// graph's video renderer offers a Direct3D device manager (the enhanced
// renderer does), the source readers opened while it is in scope get it and
// may load hardware decoders; without one they decode in software.
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
// transforms allowed, or nothing added when there is none.
void AddDecodingDevice(IMFAttributes* attributes);

}  // namespace lumorix::engine
