#include "player/engine/mf_decoding_device.h"

#include <d3d9.h>
#include <dxva2api.h>
#include <evr.h>
#include <mfreadwrite.h>

#include "player/engine/pin_walk.h"

namespace lumorix::engine {

namespace {

thread_local IUnknown* current = nullptr;

}  // namespace

ComPtr<IUnknown> DecodingDeviceOf(IFilterGraph* graph) {
  for (auto& filter : FiltersOf(graph)) {
    ComPtr<IMFGetService> services;
    ComPtr<IDirect3DDeviceManager9> manager;
    if (SUCCEEDED(filter.As(&services)) &&
        SUCCEEDED(services->GetService(MR_VIDEO_ACCELERATION_SERVICE, IID_PPV_ARGS(&manager))) && manager)
      return ComPtr<IUnknown>(manager.Get());
  }
  return nullptr;
}

DecodingDeviceScope::DecodingDeviceScope(ComPtr<IUnknown> device) : previous_(current) {
  if (device) device->AddRef();
  current = device.Get();
}

DecodingDeviceScope::~DecodingDeviceScope() {
  if (current) current->Release();
  current = previous_.Detach();  // the scope's reference goes back with it
}

void AddDecodingDevice(IMFAttributes* attributes) {
  if (!attributes || !current) return;
  // The reader's own software converter does not work on device surfaces.
  (void)attributes->DeleteItem(MF_SOURCE_READER_ENABLE_VIDEO_PROCESSING);
  (void)attributes->SetUnknown(MF_SOURCE_READER_D3D_MANAGER, current);
  (void)attributes->SetUINT32(MF_READWRITE_ENABLE_HARDWARE_TRANSFORMS, TRUE);
}

}  // namespace lumorix::engine
