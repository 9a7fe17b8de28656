#pragma once
// The picture on the device: one upload per frame into textures the shader
// reads (one RGB texture, Y and interleaved chroma, or three planes), or a
// decoder's texture copied on the graphics card. Every window draws from them.
#include <windows.h>
#include <d3d11.h>

#include <array>

#include "platform/com.h"
#include "player/engine/d3d11/picture_frame.h"
#include "player/engine/d3d11/picture_shaders.h"

namespace lumorix::engine {

class SourcePlanes {
 public:
  // Forgets the textures when the format changes.
  void SetFormat(const PictureFormat& format);
  const PictureFormat& Format() const { return format_; }
  // False when the frame could not be taken (too short, device refused).
  [[nodiscard]] bool Take(ID3D11Device* device, ID3D11DeviceContext* context, const PictureFrame& frame);
  bool HasPicture() const { return hasPicture_; }
  ShaderLayout Layout() const { return shaderLayout_; }
  // The shader's views, in register order; unused ones empty.
  std::array<ID3D11ShaderResourceView*, 3> Views() const;
  // Everything on the device goes (the device was lost).
  void Release();

 private:
  struct Plane {
    ComPtr<ID3D11Texture2D> texture;
    ComPtr<ID3D11ShaderResourceView> view;
    int width = 0, height = 0;
    DXGI_FORMAT format = DXGI_FORMAT_UNKNOWN;
  };
  [[nodiscard]] bool MakePlane(ID3D11Device* device, Plane& plane, int width, int height, DXGI_FORMAT format);
  [[nodiscard]] bool Upload(ID3D11Device* device, ID3D11DeviceContext* context, const PictureFrame& frame);
  [[nodiscard]] bool CopyTexture(ID3D11Device* device, ID3D11DeviceContext* context, const PictureFrame& frame);
  [[nodiscard]] bool ReadBack(ID3D11Device* device, ID3D11DeviceContext* context, const PictureFrame& frame);

  PictureFormat format_;
  ShaderLayout shaderLayout_ = ShaderLayout::kLumaAndChroma;
  std::array<Plane, 3> planes_;
  ComPtr<ID3D11Texture2D> copy_;  // a decoder's texture, copied to be read
  ComPtr<ID3D11ShaderResourceView> copyLuma_, copyChroma_;
  ComPtr<ID3D11Texture2D> staging_;  // where the device cannot read a copy's planes
  bool hasPicture_ = false;
};

}  // namespace lumorix::engine
