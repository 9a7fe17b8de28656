#include "player/engine/d3d11/video_device.h"

#include <iterator>

#include <cwchar>
#include "player/engine/d3d11/direct3d_entry.h"

namespace lumorix::engine {

namespace {

VideoDeviceFactory& Factory() {
  static VideoDeviceFactory factory;
  return factory;
}

HRESULT SystemDevice(ComPtr<ID3D11Device>& device) {
  CreateDeviceEntry create = CreateDeviceFunction();
  if (!create) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
  const D3D_FEATURE_LEVEL levels[] = {D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1,
                                      D3D_FEATURE_LEVEL_10_0};
  // Video support lets the decoders share the device; a driver without it still draws.
  const UINT flagSets[] = {D3D11_CREATE_DEVICE_BGRA_SUPPORT | D3D11_CREATE_DEVICE_VIDEO_SUPPORT,
                           D3D11_CREATE_DEVICE_BGRA_SUPPORT};
  HRESULT result = E_FAIL;
  for (D3D_DRIVER_TYPE driver : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
    for (UINT flags : flagSets) {
      // Systems before Windows 8 know no level 11_1 and refuse the whole list.
      for (size_t first = 0; first < 2; ++first) {
        result = create(nullptr, driver, nullptr, flags, levels + first, static_cast<UINT>(std::size(levels) - first),
                        D3D11_SDK_VERSION, &device, nullptr, nullptr);
        if (SUCCEEDED(result)) return result;
        if (result != E_INVALIDARG) break;
      }
    }
  }
  return result;
}

// A small NV12 picture copied into a readable texture comes back as written.
bool CopiesNv12Textures(ID3D11Device* device, ID3D11DeviceContext* context) {
  BYTE planes[16 * 16 * 3 / 2];
  for (BYTE& b : planes) b = 200;
  D3D11_TEXTURE2D_DESC desc{16, 16, 1, 1, DXGI_FORMAT_NV12, {1, 0}, D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE,
                            0,  0};
  D3D11_SUBRESOURCE_DATA data{planes, 16, 0};
  ComPtr<ID3D11Texture2D> picture, readable;
  if (FAILED(device->CreateTexture2D(&desc, &data, &picture))) return false;
  desc.Usage = D3D11_USAGE_STAGING;
  desc.BindFlags = 0;
  desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
  if (FAILED(device->CreateTexture2D(&desc, nullptr, &readable))) return false;
  context->CopyResource(readable.Get(), picture.Get());
  D3D11_MAPPED_SUBRESOURCE mapped{};
  if (FAILED(context->Map(readable.Get(), 0, D3D11_MAP_READ, 0, &mapped))) return false;
  bool same = static_cast<const BYTE*>(mapped.pData)[0] == 200;
  context->Unmap(readable.Get(), 0);
  return same;
}

}  // namespace

void SetVideoDeviceFactory(VideoDeviceFactory factory) { Factory() = std::move(factory); }

std::unique_ptr<VideoDevice> VideoDevice::Create(std::wstring& reason, VideoDevice* previous) {
  std::unique_ptr<VideoDevice> made(new VideoDevice);
  HRESULT result = Factory() ? Factory()(made->device_) : SystemDevice(made->device_);
  if (FAILED(result) || !made->device_) {
    wchar_t text[80];
    swprintf(text, std::size(text), L"Direct3D 11 refused to make a device ($%08X)", static_cast<unsigned>(result));
    reason = text;
    return nullptr;
  }
  if (made->device_->GetFeatureLevel() < D3D_FEATURE_LEVEL_10_0) {
    reason = L"the graphics card offers Direct3D below feature level 10";
    return nullptr;
  }
  made->device_->GetImmediateContext(&made->context_);
  made->copiesNv12_ = CopiesNv12Textures(made->device_.Get(), made->context_.Get());
  // The decoders use the device from their own threads.
  ComPtr<ID3D10Multithread> multithread;
  if (SUCCEEDED(made->device_.As(&multithread))) (void)multithread->SetMultithreadProtected(TRUE);
  if (previous && previous->manager_) {
    made->manager_ = previous->manager_;
    made->resetToken_ = previous->resetToken_;
    (void)made->manager_->ResetDevice(made->device_.Get(), made->resetToken_);
  } else if (CreateDxgiManagerEntry createManager = CreateDxgiManagerFunction()) {
    if (SUCCEEDED(createManager(&made->resetToken_, &made->manager_)) &&
        FAILED(made->manager_->ResetDevice(made->device_.Get(), made->resetToken_)))
      made->manager_.Reset();
  }
  return made;
}

bool VideoDevice::Lost() const { return FAILED(device_->GetDeviceRemovedReason()); }

}  // namespace lumorix::engine
