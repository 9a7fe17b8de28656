#include "player/engine/d3d11/swap_chain_output.h"

#include <vector>

#include "platform/wine_host.h"

namespace lumorix::engine {

namespace {

ComPtr<IDXGIFactory2> FactoryOf(ID3D11Device* device) {
  ComPtr<IDXGIDevice> dxgi;
  ComPtr<IDXGIAdapter> adapter;
  ComPtr<IDXGIFactory2> factory;
  if (FAILED(device->QueryInterface(IID_PPV_ARGS(&dxgi))) || FAILED(dxgi->GetAdapter(&adapter)) ||
      FAILED(adapter->GetParent(IID_PPV_ARGS(&factory))))
    return nullptr;
  return factory;
}

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

}  // namespace

SwapChainOutput::SwapChainOutput(ID3D11Device* device, HWND window) : window_(window) {
  static const bool wine = platform::RunningOnWine();
  if (wine && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
    throughGdi_ = true;
    return;
  }
  ComPtr<IDXGIFactory2> factory = FactoryOf(device);
  if (!factory) return;
  SIZE size = ClientSize(window);
  DXGI_SWAP_CHAIN_DESC1 desc{};
  desc.Width = static_cast<UINT>(std::max<LONG>(size.cx, 1));
  desc.Height = static_cast<UINT>(std::max<LONG>(size.cy, 1));
  desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
  desc.SampleDesc.Count = 1;
  desc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
  desc.Scaling = DXGI_SCALING_STRETCH;
  // Flip model first: it composes with the desktop's other windows as they
  // are drawn today; the blt model only where a system knows no flip.
  struct Model {
    DXGI_SWAP_EFFECT effect;
    UINT buffers;
    bool flip;
  } models[] = {{DXGI_SWAP_EFFECT_FLIP_DISCARD, 2, true},
                {DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL, 2, true},
                {DXGI_SWAP_EFFECT_DISCARD, 1, false}};
  for (const Model& model : models) {
    desc.SwapEffect = model.effect;
    desc.BufferCount = model.buffers;
    if (SUCCEEDED(factory->CreateSwapChainForHwnd(device, window, &desc, nullptr, nullptr, &chain_))) {
      flip_ = model.flip;
      break;
    }
    chain_.Reset();
  }
  if (!chain_) return;
  (void)factory->MakeWindowAssociation(window, DXGI_MWA_NO_ALT_ENTER | DXGI_MWA_NO_WINDOW_CHANGES);
  size_ = {static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
}

ID3D11RenderTargetView* SwapChainOutput::Begin(ID3D11Device* device, ID3D11DeviceContext* context, SIZE& size) {
  if (!IsWindow(window_)) return nullptr;
  if (throughGdi_) {
    size = ClientSize(window_);
    if (size.cx <= 0 || size.cy <= 0) return nullptr;
    if (!own_ || size.cx != size_.cx || size.cy != size_.cy) {
      target_.Reset();
      own_.Reset();
      staging_.Reset();
      D3D11_TEXTURE2D_DESC desc{};
      desc.Width = static_cast<UINT>(size.cx);
      desc.Height = static_cast<UINT>(size.cy);
      desc.MipLevels = desc.ArraySize = 1;
      desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
      desc.SampleDesc.Count = 1;
      desc.BindFlags = D3D11_BIND_RENDER_TARGET;
      if (FAILED(device->CreateTexture2D(&desc, nullptr, &own_)) ||
          FAILED(device->CreateRenderTargetView(own_.Get(), nullptr, &target_))) {
        own_.Reset();
        return nullptr;
      }
      size_ = size;
    }
    return target_.Get();
  }
  if (!chain_) return nullptr;
  if (occluded_) {
    // Asked without drawing until the window can be seen again.
    if (chain_->Present(0, DXGI_PRESENT_TEST) == DXGI_STATUS_OCCLUDED) return nullptr;
    occluded_ = false;
  }
  size = ClientSize(window_);
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  if (size.cx != size_.cx || size.cy != size_.cy || !target_) {
    target_.Reset();
    context->OMSetRenderTargets(0, nullptr, nullptr);
    if (size.cx != size_.cx || size.cy != size_.cy) {
      if (FAILED(
              chain_->ResizeBuffers(0, static_cast<UINT>(size.cx), static_cast<UINT>(size.cy), DXGI_FORMAT_UNKNOWN, 0)))
        return nullptr;
      size_ = size;
    }
    ComPtr<ID3D11Texture2D> buffer;
    if (FAILED(chain_->GetBuffer(0, IID_PPV_ARGS(&buffer))) ||
        FAILED(device->CreateRenderTargetView(buffer.Get(), nullptr, &target_)))
      return nullptr;
  }
  return target_.Get();
}

void SwapChainOutput::CopyThroughGdi(ID3D11Device* device, ID3D11DeviceContext* context) {
  SIZE size{};
  if (!ReadBack(device, context, copy_, size)) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = GetDC(window_);
  if (!dc) return;
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(size.cx), static_cast<DWORD>(size.cy), 0, 0, 0,
                    static_cast<UINT>(size.cy), copy_.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(window_, dc);
}

HRESULT SwapChainOutput::Present(ID3D11Device* device, ID3D11DeviceContext* context) {
  if (throughGdi_) {
    // GDI from the streaming thread could wait on the window's thread, which
    // may be waiting for the presenter: that thread paints it from its paint.
    if (GetWindowThreadProcessId(window_, nullptr) == GetCurrentThreadId()) {
      CopyThroughGdi(device, context);
    } else {
      InvalidateRect(window_, nullptr, FALSE);
    }
    return S_OK;
  }
  if (!chain_) return S_OK;
  // No wait for the display's refresh: one thread shows every window in turn.
  HRESULT result = chain_->Present(0, 0);
  if (result == DXGI_STATUS_OCCLUDED) occluded_ = true;
  // A flip-model buffer is gone once shown: the next frame makes its view again.
  if (flip_) target_.Reset();
  return result;
}

bool SwapChainOutput::ReadBack(ID3D11Device* device, ID3D11DeviceContext* context, std::vector<DWORD>& pixels,
                               SIZE& size) {
  ComPtr<ID3D11Texture2D> buffer;
  if (throughGdi_) {
    buffer = own_;
  } else if (chain_) {
    (void)chain_->GetBuffer(0, IID_PPV_ARGS(&buffer));
  }
  if (!buffer) return false;
  D3D11_TEXTURE2D_DESC desc{};
  buffer->GetDesc(&desc);
  D3D11_TEXTURE2D_DESC kept{};
  if (staging_) staging_->GetDesc(&kept);
  if (!staging_ || kept.Width != desc.Width || kept.Height != desc.Height) {
    staging_.Reset();
    desc.Usage = D3D11_USAGE_STAGING;
    desc.BindFlags = 0;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    desc.MiscFlags = 0;
    if (FAILED(device->CreateTexture2D(&desc, nullptr, &staging_))) return false;
  }
  ComPtr<ID3D11Texture2D> staging = staging_;
  context->CopyResource(staging.Get(), buffer.Get());
  D3D11_MAPPED_SUBRESOURCE mapped{};
  if (FAILED(context->Map(staging.Get(), 0, D3D11_MAP_READ, 0, &mapped))) return false;
  size = {static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
  pixels.resize(static_cast<size_t>(desc.Width) * desc.Height);
  for (UINT y = 0; y < desc.Height; ++y) {
    const auto* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(mapped.pData) + y * mapped.RowPitch);
    for (UINT x = 0; x < desc.Width; ++x) pixels[y * desc.Width + x] = row[x] & 0x00FFFFFF;  // BGRA: 0x00RRGGBB
  }
  context->Unmap(staging.Get(), 0);
  return true;
}

}  // namespace lumorix::engine
