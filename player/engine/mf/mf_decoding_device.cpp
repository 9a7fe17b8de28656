#include "player/engine/mf/mf_decoding_device.h"

#include <d3d11.h>
#include <mfapi.h>
#include <mfreadwrite.h>

#include <utility>

#include "player/engine/filters/pin_walk.h"

namespace lumorix::engine {

namespace {

thread_local ComPtr<IUnknown> current;

// MR_VIDEO_ACCELERATION_SERVICE: where a renderer offers its device to decoders.
constexpr GUID kAccelerationService = {0xefef5175, 0x5c7d, 0x4ce2, {0xbb, 0xbd, 0x34, 0xff, 0x8b, 0xca, 0x65, 0x54}};
// MF_SOURCE_READER_ENABLE_ADVANCED_VIDEO_PROCESSING, the processing that works on device textures.
constexpr GUID kAdvancedVideoProcessing = {
    0x0f81da2c, 0xb537, 0x4672, {0xa8, 0xb2, 0xa6, 0x81, 0xb1, 0x73, 0x07, 0xa3}};

}  // namespace

ComPtr<IUnknown> DecodingDeviceOf(IFilterGraph* graph) {
  for (auto& filter : FiltersOf(graph)) {
    ComPtr<IMFGetService> services;
    ComPtr<IMFDXGIDeviceManager> manager;
    if (SUCCEEDED(filter.As(&services)) &&
        SUCCEEDED(services->GetService(kAccelerationService, IID_PPV_ARGS(&manager))) && manager)
      return ComPtr<IUnknown>(manager.Get());
  }
  return nullptr;
}

DecodingDeviceScope::DecodingDeviceScope(ComPtr<IUnknown> device) : previous_(current) { current = std::move(device); }

DecodingDeviceScope::~DecodingDeviceScope() { current = std::move(previous_); }

bool AddDecodingDevice(IMFAttributes* attributes) {
  if (!attributes || !current) return false;
  // The reader's own software converter does not work on device textures; the advanced one does.
  (void)attributes->DeleteItem(MF_SOURCE_READER_ENABLE_VIDEO_PROCESSING);
  (void)attributes->SetUINT32(kAdvancedVideoProcessing, TRUE);
  (void)attributes->SetUnknown(MF_SOURCE_READER_D3D_MANAGER, current.Get());
  (void)attributes->SetUINT32(MF_READWRITE_ENABLE_HARDWARE_TRANSFORMS, TRUE);
  return true;
}

bool DecodedTexture(IMFSample* sample, ComPtr<IUnknown>& texture, UINT& subresource) {
  ComPtr<IMFMediaBuffer> buffer;
  ComPtr<IMFDXGIBuffer> onDevice;
  DWORD count = 0;
  if (!sample || FAILED(sample->GetBufferCount(&count)) || count != 1 || FAILED(sample->GetBufferByIndex(0, &buffer)) ||
      FAILED(buffer.As(&onDevice)))
    return false;
  ComPtr<ID3D11Texture2D> picture;
  if (FAILED(onDevice->GetResource(IID_PPV_ARGS(&picture))) || FAILED(onDevice->GetSubresourceIndex(&subresource)))
    return false;
  texture = picture;
  return true;
}

}  // namespace lumorix::engine
