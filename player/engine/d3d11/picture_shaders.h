#pragma once
// The shaders that draw a picture: a triangle over the picture's place, and
// a pixel shader that reads the source planes (RGB, Y with interleaved
// chroma, or three planes), averages the source pixels each screen pixel
// covers (several taps when shrinking, so fine detail does not shimmer),
// turns YUV into RGB and applies the six colour adjustments. Compiled at run
// time by the system's shader compiler, one pixel shader for each layout and
// number of taps, when first needed, each written out without loops or
// functions of its own (the compiler Wine ships handles neither yet).
#include <windows.h>
#include <d3d11.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/com.h"

namespace lumorix::engine {

// How the source planes hold the picture.
enum class ShaderLayout : int { kRgb = 0, kLumaAndChroma = 1, kThreePlanes = 2 };

// The constant buffer, as the shader declares it.
struct PictureConstants {
  float rgbRows[3][4];  // full-range YCbCr (chroma centred) to RGB
  float rangeMap[4];    // luma offset, luma scale, chroma offset, chroma scale
  float sourceRect[4];  // texture coordinates: origin, size
  float footprint[2];   // texture coordinates one screen pixel covers
  float texel[2];       // one source pixel in texture coordinates
  float brightness;
  float contrast;
  float saturation;
  float gammaInverse;
  float hueCos;
  float hueSin;
  float sharpness;
  float unused;
};
static_assert(sizeof(PictureConstants) % 16 == 0);

// What a pixel shader is made for.
struct PixelShaderKind {
  ShaderLayout layout = ShaderLayout::kRgb;
  int tapsX = 1;  // 1..4 each way
  int tapsY = 1;
  bool sharpen = false;
  auto Tie() const { return std::make_tuple(static_cast<int>(layout), tapsX, tapsY, sharpen); }
  bool operator<(const PixelShaderKind& other) const { return Tie() < other.Tie(); }
};

class PictureShaders {
 public:
  // False, with `reason`, when the compiler is missing or refuses.
  [[nodiscard]] bool Make(ID3D11Device* device, std::wstring& reason);
  ID3D11VertexShader* Vertex() const { return vertex_.Get(); }
  ID3D11Buffer* const* Constants() const { return constants_.GetAddressOf(); }
  ID3D11SamplerState* const* Sampler() const { return sampler_.GetAddressOf(); }
  // Blends by the blend factor: a picture fading in over another.
  ID3D11BlendState* Blend() const { return blend_.Get(); }
  // Compiled on first use; null when refused.
  ID3D11PixelShader* Pixel(ID3D11Device* device, const PixelShaderKind& kind);

 private:
  ComPtr<ID3D11VertexShader> vertex_;
  ComPtr<ID3D11Buffer> constants_;
  ComPtr<ID3D11SamplerState> sampler_;
  ComPtr<ID3D11BlendState> blend_;
  std::map<PixelShaderKind, ComPtr<ID3D11PixelShader>> pixel_;
  // Whether the compiler reads a texture's first level explicitly (Wine's does not yet).
  bool explicitLevel_ = true;
};

// The HLSL of a pixel shader of `kind`; `explicitLevel` reads with SampleLevel, else Sample.
std::string PixelShaderSource(const PixelShaderKind& kind, bool explicitLevel);

}  // namespace lumorix::engine
