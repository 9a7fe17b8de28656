#include "player/engine/mf/mf_decoding_device.h"

#include <d3d9.h>
#include <dxva2api.h>
#include <evr.h>
#include <mfreadwrite.h>

#include <utility>

#include "player/engine/filters/pin_walk.h"

namespace lumorix::engine {

namespace {

thread_local ComPtr<IUnknown> current;

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

DecodingDeviceScope::DecodingDeviceScope(ComPtr<IUnknown> device) : previous_(current) { current = std::move(device); }

DecodingDeviceScope::~DecodingDeviceScope() { current = std::move(previous_); }

void AddDecodingDevice(IMFAttributes* attributes) {
  if (!attributes || !current) return;
  // The reader's own software converter does not work on device surfaces.
  (void)attributes->DeleteItem(MF_SOURCE_READER_ENABLE_VIDEO_PROCESSING);
  (void)attributes->SetUnknown(MF_SOURCE_READER_D3D_MANAGER, current.Get());
  (void)attributes->SetUINT32(MF_READWRITE_ENABLE_HARDWARE_TRANSFORMS, TRUE);
}

}  // namespace lumorix::engine
