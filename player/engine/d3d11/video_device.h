#pragma once
// The one Direct3D 11 device a renderer draws with and the Media Foundation
// device manager that lends it to the decoders: the graphics card's where a
// driver offers feature level 10 or more, else WARP (Direct3D on the
// processor, on every Windows from 8 on).
#include <windows.h>
#include <d3d11.h>
#include <mfobjects.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/com.h"

namespace lumorix::engine {

class VideoDevice {
 public:
  // Empty, with `reason` saying why, when no device can be made. A device
  // made after `previous` was lost takes over its manager, so the decoders
  // holding the manager get the new device.
  static std::unique_ptr<VideoDevice> Create(std::wstring& reason, VideoDevice* previous = nullptr);

  ID3D11Device* Device() const { return device_.Get(); }
  ID3D11DeviceContext* Context() const { return context_.Get(); }
  // None where Media Foundation is missing; decoders then get no device.
  IMFDXGIDeviceManager* Manager() const { return manager_.Get(); }
  // Whether the device can copy a decoder's NV12 texture (Wine's makes them but cannot):
  // only then is it lent to the decoders.
  bool CopiesNv12() const { return copiesNv12_; }
  // The device was removed or reset (driver update, graphics switched, remote session).
  bool Lost() const;

 private:
  VideoDevice() = default;

  ComPtr<ID3D11Device> device_;
  ComPtr<ID3D11DeviceContext> context_;
  ComPtr<IMFDXGIDeviceManager> manager_;
  UINT resetToken_ = 0;
  bool copiesNv12_ = false;
};

// Makes the device instead of the system (tests: one that is refused); an
// empty function restores the system's.
using VideoDeviceFactory = std::function<HRESULT(ComPtr<ID3D11Device>& device)>;
void SetVideoDeviceFactory(VideoDeviceFactory factory);

}  // namespace lumorix::engine
