#include "player/engine/d3d11/source_planes.h"

#include <algorithm>
#include <cstring>

namespace lumorix::engine {

namespace {

struct PlaneSpan {
  const BYTE* rows = nullptr;
  ptrdiff_t stride = 0;
};

// Where each plane lies in a buffer of `format`: the first plane's rows at its
// buffer width, NV12's chroma rows after them at the same stride, I420's and
// YV12's half-width planes after that.
std::array<PlaneSpan, 3> PlanesOf(const PictureFormat& format, const BYTE* data) {
  const ptrdiff_t w = format.bufferWidth, h = format.bufferHeight;
  switch (format.layout) {
    case PictureLayout::kRgb32:
      if (format.bottomUp) return {{{data + (h - 1) * w * 4, -w * 4}}};
      return {{{data, w * 4}}};
    case PictureLayout::kRgb24: {
      const ptrdiff_t stride = (w * 3 + 3) & ~ptrdiff_t{3};
      if (format.bottomUp) return {{{data + (h - 1) * stride, -stride}}};
      return {{{data, stride}}};
    }
    case PictureLayout::kYuy2:
      return {{{data, w * 2}}};
    case PictureLayout::kNv12:
      return {{{data, w}, {data + w * h, w}}};
    case PictureLayout::kI420:
      return {{{data, w}, {data + w * h, w / 2}, {data + w * h + (w / 2) * (h / 2), w / 2}}};
    case PictureLayout::kYv12:
      return {{{data, w}, {data + w * h + (w / 2) * (h / 2), w / 2}, {data + w * h, w / 2}}};
  }
  return {};
}

}  // namespace

size_t BufferBytes(const PictureFormat& format) {
  const size_t w = static_cast<size_t>(format.bufferWidth), h = static_cast<size_t>(format.bufferHeight);
  switch (format.layout) {
    case PictureLayout::kRgb32:
      return w * h * 4;
    case PictureLayout::kRgb24:
      return ((w * 3 + 3) & ~size_t{3}) * h;
    case PictureLayout::kYuy2:
      return w * h * 2;
    case PictureLayout::kNv12:
      return w * h + w * (h / 2);
    case PictureLayout::kI420:
    case PictureLayout::kYv12:
      return w * h + 2 * (w / 2) * (h / 2);
  }
  return 0;
}

void SourcePlanes::SetFormat(const PictureFormat& format) {
  if (format == format_) return;
  Release();
  format_ = format;
  shaderLayout_ = format.layout == PictureLayout::kRgb32 || format.layout == PictureLayout::kRgb24 ? ShaderLayout::kRgb
                  : format.layout == PictureLayout::kI420 || format.layout == PictureLayout::kYv12
                      ? ShaderLayout::kThreePlanes
                      : ShaderLayout::kLumaAndChroma;
}

void SourcePlanes::Release() {
  for (Plane& plane : planes_) plane = Plane{};
  copy_.Reset();
  copyLuma_.Reset();
  copyChroma_.Reset();
  staging_.Reset();
  hasPicture_ = false;
}

std::array<ID3D11ShaderResourceView*, 3> SourcePlanes::Views() const {
  if (copyLuma_) return {copyLuma_.Get(), copyChroma_.Get(), nullptr};
  return {planes_[0].view.Get(), planes_[1].view.Get(), planes_[2].view.Get()};
}

bool SourcePlanes::MakePlane(ID3D11Device* device, Plane& plane, int width, int height, DXGI_FORMAT format) {
  if (plane.texture && plane.width == width && plane.height == height && plane.format == format) return true;
  plane = Plane{};
  D3D11_TEXTURE2D_DESC desc{};
  desc.Width = static_cast<UINT>(std::max(width, 1));
  desc.Height = static_cast<UINT>(std::max(height, 1));
  desc.MipLevels = desc.ArraySize = 1;
  desc.Format = format;
  desc.SampleDesc.Count = 1;
  desc.Usage = D3D11_USAGE_DYNAMIC;
  desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
  desc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
  if (FAILED(device->CreateTexture2D(&desc, nullptr, &plane.texture)) ||
      FAILED(device->CreateShaderResourceView(plane.texture.Get(), nullptr, &plane.view))) {
    plane = Plane{};
    return false;
  }
  plane.width = width;
  plane.height = height;
  plane.format = format;
  return true;
}

bool SourcePlanes::Take(ID3D11Device* device, ID3D11DeviceContext* context, const PictureFrame& frame) {
  bool taken = frame.texture ? CopyTexture(device, context, frame) : Upload(device, context, frame);
  hasPicture_ = hasPicture_ || taken;
  return taken;
}

bool SourcePlanes::Upload(ID3D11Device* device, ID3D11DeviceContext* context, const PictureFrame& frame) {
  const PictureFormat& f = format_;
  if (!frame.data || f.width <= 0 || f.height <= 0 || f.width > f.bufferWidth || f.height > f.bufferHeight ||
      frame.size < BufferBytes(f))
    return false;
  copyLuma_.Reset();
  copyChroma_.Reset();
  std::array<PlaneSpan, 3> in = PlanesOf(f, frame.data);
  const int w = f.width, h = f.height, cw = (w + 1) / 2, ch = (h + 1) / 2;
  // Each target plane: its size, format, and how a row is written into it.
  struct Target {
    int width, height;
    DXGI_FORMAT format;
  };
  std::array<Target, 3> targets{};
  size_t count = 0;
  switch (f.layout) {
    case PictureLayout::kRgb32:
    case PictureLayout::kRgb24:
      targets[count++] = {w, h, DXGI_FORMAT_B8G8R8A8_UNORM};
      break;
    case PictureLayout::kNv12:
      targets[count++] = {w, h, DXGI_FORMAT_R8_UNORM};
      targets[count++] = {cw, ch, DXGI_FORMAT_R8G8_UNORM};
      break;
    case PictureLayout::kYuy2:  // split on the way: Y, and the pairs' chroma at full height
      targets[count++] = {w, h, DXGI_FORMAT_R8_UNORM};
      targets[count++] = {cw, h, DXGI_FORMAT_R8G8_UNORM};
      break;
    case PictureLayout::kI420:
    case PictureLayout::kYv12:
      targets[count++] = {w, h, DXGI_FORMAT_R8_UNORM};
      targets[count++] = {cw, ch, DXGI_FORMAT_R8_UNORM};
      targets[count++] = {cw, ch, DXGI_FORMAT_R8_UNORM};
      break;
  }
  for (size_t p = 0; p < count; ++p) {
    Plane& plane = planes_[p];
    if (!MakePlane(device, plane, targets[p].width, targets[p].height, targets[p].format)) return false;
    D3D11_MAPPED_SUBRESOURCE mapped{};
    if (FAILED(context->Map(plane.texture.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return false;
    auto* out = static_cast<BYTE*>(mapped.pData);
    if (f.layout == PictureLayout::kRgb24) {
      // Three bytes a pixel widened to four on the way: textures have no 24-bit format.
      for (int y = 0; y < h; ++y) {
        const BYTE* row = in[0].rows + y * in[0].stride;
        BYTE* dst = out + static_cast<size_t>(y) * mapped.RowPitch;
        for (int x = 0; x < w; ++x) {
          dst[x * 4] = row[x * 3];
          dst[x * 4 + 1] = row[x * 3 + 1];
          dst[x * 4 + 2] = row[x * 3 + 2];
          dst[x * 4 + 3] = 0xFF;
        }
      }
    } else if (f.layout == PictureLayout::kYuy2) {
      for (int y = 0; y < h; ++y) {
        const BYTE* row = in[0].rows + y * in[0].stride;
        BYTE* dst = out + static_cast<size_t>(y) * mapped.RowPitch;
        if (p == 0) {
          for (int x = 0; x < w; ++x) dst[x] = row[x * 2];
        } else {
          for (int x = 0; x < cw; ++x) {
            dst[x * 2] = row[x * 4 + 1];
            dst[x * 2 + 1] = row[x * 4 + 3];
          }
        }
      }
    } else {
      size_t bytesPerPixel = targets[p].format == DXGI_FORMAT_B8G8R8A8_UNORM ? 4
                             : targets[p].format == DXGI_FORMAT_R8G8_UNORM   ? 2
                                                                             : 1;
      size_t rowBytes = static_cast<size_t>(targets[p].width) * bytesPerPixel;
      for (int y = 0; y < targets[p].height; ++y)
        std::memcpy(out + static_cast<size_t>(y) * mapped.RowPitch, in[p].rows + y * in[p].stride, rowBytes);
    }
    context->Unmap(plane.texture.Get(), 0);
  }
  return true;
}

bool SourcePlanes::CopyTexture(ID3D11Device* device, ID3D11DeviceContext* context, const PictureFrame& frame) {
  D3D11_TEXTURE2D_DESC given{};
  frame.texture->GetDesc(&given);
  if (given.Format != DXGI_FORMAT_NV12 && given.Format != DXGI_FORMAT_B8G8R8A8_UNORM) return false;
  const UINT w = static_cast<UINT>(format_.width), h = static_cast<UINT>(format_.height);
  if (w == 0 || h == 0 || given.Width < w || given.Height < h) return false;
  D3D11_TEXTURE2D_DESC own{};
  if (copy_) copy_->GetDesc(&own);
  if (!copy_ || own.Format != given.Format || own.Width != w || own.Height != h) {
    copy_.Reset();
    copyLuma_.Reset();
    copyChroma_.Reset();
    staging_.Reset();
    D3D11_TEXTURE2D_DESC desc{};
    desc.Width = w;
    desc.Height = h;
    desc.MipLevels = desc.ArraySize = 1;
    desc.Format = given.Format;
    desc.SampleDesc.Count = 1;
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
    if (FAILED(device->CreateTexture2D(&desc, nullptr, &copy_))) copy_.Reset();
    if (copy_) {
      // Each plane of an NV12 texture is read through a view of its own format.
      D3D11_SHADER_RESOURCE_VIEW_DESC view{};
      view.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
      view.Texture2D.MipLevels = 1;
      view.Format = given.Format == DXGI_FORMAT_NV12 ? DXGI_FORMAT_R8_UNORM : given.Format;
      bool viewed = SUCCEEDED(device->CreateShaderResourceView(copy_.Get(), &view, &copyLuma_));
      if (viewed && given.Format == DXGI_FORMAT_NV12) {
        view.Format = DXGI_FORMAT_R8G8_UNORM;
        viewed = SUCCEEDED(device->CreateShaderResourceView(copy_.Get(), &view, &copyChroma_));
      }
      if (!viewed) {
        copy_.Reset();
        copyLuma_.Reset();
        copyChroma_.Reset();
      }
    }
  }
  if (!copy_) return ReadBack(device, context, frame);
  D3D11_BOX box{0, 0, 0, w, h, 1};
  context->CopySubresourceRegion(copy_.Get(), 0, 0, 0, 0, frame.texture, frame.subresource, &box);
  shaderLayout_ = given.Format == DXGI_FORMAT_NV12 ? ShaderLayout::kLumaAndChroma : ShaderLayout::kRgb;
  return true;
}

// A device that cannot read an NV12 texture's planes in a shader (Direct3D
// 11.0 drivers): the picture is read back once and uploaded as from memory.
bool SourcePlanes::ReadBack(ID3D11Device* device, ID3D11DeviceContext* context, const PictureFrame& frame) {
  D3D11_TEXTURE2D_DESC given{};
  frame.texture->GetDesc(&given);
  if (!staging_) {
    D3D11_TEXTURE2D_DESC desc = given;
    desc.MipLevels = desc.ArraySize = 1;
    desc.Usage = D3D11_USAGE_STAGING;
    desc.BindFlags = 0;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    desc.MiscFlags = 0;
    if (FAILED(device->CreateTexture2D(&desc, nullptr, &staging_))) return false;
  }
  context->CopySubresourceRegion(staging_.Get(), 0, 0, 0, 0, frame.texture, frame.subresource, nullptr);
  D3D11_MAPPED_SUBRESOURCE mapped{};
  if (FAILED(context->Map(staging_.Get(), 0, D3D11_MAP_READ, 0, &mapped))) return false;
  PictureFormat asMemory = format_;
  asMemory.layout = given.Format == DXGI_FORMAT_NV12 ? PictureLayout::kNv12 : PictureLayout::kRgb32;
  asMemory.bottomUp = false;
  const UINT bytesPerPixel = given.Format == DXGI_FORMAT_NV12 ? 1 : 4;
  asMemory.bufferWidth = static_cast<int>(mapped.RowPitch / bytesPerPixel);
  asMemory.bufferHeight = static_cast<int>(given.Height);
  PictureFormat kept = format_;
  format_ = asMemory;
  PictureFrame memory;
  memory.data = static_cast<const BYTE*>(mapped.pData);
  memory.size = BufferBytes(asMemory);
  bool uploaded = Upload(device, context, memory);
  format_ = kept;
  context->Unmap(staging_.Get(), 0);
  shaderLayout_ = given.Format == DXGI_FORMAT_NV12 ? ShaderLayout::kLumaAndChroma : ShaderLayout::kRgb;
  return uploaded;
}

}  // namespace lumorix::engine
