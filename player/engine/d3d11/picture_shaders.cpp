#include "player/engine/d3d11/picture_shaders.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <string>

#include "player/engine/d3d11/direct3d_entry.h"

namespace lumorix::engine {

namespace {

constexpr char kDeclarations[] = R"(
cbuffer Picture : register(b0) {
  float4 rgbRow0;
  float4 rgbRow1;
  float4 rgbRow2;
  float4 rangeMap;
  float4 sourceRect;
  float2 footprint;
  float2 texel;
  float brightness;
  float contrast;
  float saturation;
  float gammaInverse;
  float hueCos;
  float hueSin;
  float sharpness;
  float unused;
};

Texture2D planeY : register(t0);
Texture2D planeU : register(t1);
Texture2D planeV : register(t2);
SamplerState bilinear : register(s0);

struct Vertex {
  float4 position : SV_Position;
  float2 uv : TEXCOORD0;
};
)";

// One triangle whose inside covers the viewport, the picture's place.
constexpr char kVertexMain[] = R"(
Vertex VertexMain(uint id : SV_VertexID) {
  float2 corner = float2((id << 1) & 2, id & 2);
  Vertex v;
  v.position = float4(corner * float2(2, -2) + float2(-1, 1), 0, 1);
  v.uv = sourceRect.xy + corner * sourceRect.zw;
  return v;
}
)";

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", value);
  return text;
}

HRESULT Compile(const std::string& source, const char* entry, const char* target, ComPtr<ID3DBlob>& code,
                std::wstring* reason) {
  CompileEntry compile = CompileFunction();
  if (!compile) {
    if (reason) *reason = L"the shader compiler (d3dcompiler_47.dll) is missing";
    return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
  }
  ComPtr<ID3DBlob> errors;
  code.Reset();
  HRESULT result = compile(source.data(), source.size(), "picture", nullptr, nullptr, entry, target,
                           D3DCOMPILE_OPTIMIZATION_LEVEL3, 0, &code, &errors);
  if (SUCCEEDED(result) || !reason) return result;
  wchar_t text[96];
  swprintf(text, std::size(text), L"the shader compiler refused the picture's shaders ($%08X)",
           static_cast<unsigned>(result));
  *reason = text;
  if (errors) {
    // The compiler's first words say what it refused.
    const char* message = static_cast<const char*>(errors->GetBufferPointer());
    size_t length = std::min<size_t>(errors->GetBufferSize(), 300);
    *reason += L": " + std::wstring(message, message + strnlen(message, length));
  }
  return result;
}

}  // namespace

std::string PixelShaderSource(const PixelShaderKind& kind, bool explicitLevel) {
  auto read = [&](const char* plane, const std::string& at) {
    return std::string(plane) +
           (explicitLevel ? ".SampleLevel(bilinear, " + at + ", 0)" : ".Sample(bilinear, " + at + ")");
  };
  // The samples at `at` as stored: RGB, or Y, Cb, Cr each 0..1.
  auto fetch = [&](const std::string& at) {
    switch (kind.layout) {
      case ShaderLayout::kRgb:
        return read("planeY", at) + ".rgb";
      case ShaderLayout::kLumaAndChroma:
        return "float3(" + read("planeY", at) + ".r, " + read("planeU", at) + ".rg)";
      case ShaderLayout::kThreePlanes:
        return "float3(" + read("planeY", at) + ".r, " + read("planeU", at) + ".r, " + read("planeV", at) + ".r)";
    }
    return std::string("float3(0, 0, 0)");
  };
  auto luma = [&](const std::string& at) {
    return kind.layout == ShaderLayout::kRgb ? "dot(" + read("planeY", at) + ".rgb, float3(0.299, 0.587, 0.114))"
                                             : "((" + read("planeY", at) + ".r - rangeMap.x) * rangeMap.y)";
  };
  std::string body = "float4 PixelMain(Vertex v) : SV_Target {\n  float3 sum = float3(0, 0, 0);\n";
  // The mean of what one screen pixel covers: taps spread over its
  // footprint, each a bilinear read, no further apart than a source pixel.
  for (int j = 0; j < kind.tapsY; ++j)
    for (int i = 0; i < kind.tapsX; ++i) {
      std::string at = "(v.uv + float2(" + Number((i + 0.5) / kind.tapsX - 0.5) + ", " +
                       Number((j + 0.5) / kind.tapsY - 0.5) + ") * footprint)";
      body += "  sum += " + fetch(at) + ";\n";
    }
  body += "  float3 mean = sum * " + Number(1.0 / (kind.tapsX * kind.tapsY)) + ";\n";
  if (kind.layout == ShaderLayout::kRgb) {
    body +=
        "  float l = dot(mean, float3(0.299, 0.587, 0.114));\n"
        "  float3 ycc = float3(l, (mean.b - l) / 1.772, (mean.r - l) / 1.402);\n";
  } else {
    body += "  float3 ycc = float3((mean.x - rangeMap.x) * rangeMap.y, (mean.yz - rangeMap.z) * rangeMap.w);\n";
  }
  if (kind.sharpen) {
    body +=
        "  float2 step = max(footprint, texel);\n"
        "  float around = " +
        luma("(v.uv + float2(step.x, 0))") + " + " + luma("(v.uv - float2(step.x, 0))") + " + " +
        luma("(v.uv + float2(0, step.y))") + " + " + luma("(v.uv - float2(0, step.y))") +
        ";\n"
        "  ycc.x += sharpness * (ycc.x - around * 0.25);\n";
  }
  body += R"(  float y = (ycc.x - 0.5) * contrast + 0.5 + brightness;
  float2 chroma = float2(ycc.y * hueCos - ycc.z * hueSin, ycc.y * hueSin + ycc.z * hueCos) * saturation;
  float3 yc = float3(y, chroma.x, chroma.y);
  float3 rgb = float3(dot(rgbRow0.xyz, yc), dot(rgbRow1.xyz, yc), dot(rgbRow2.xyz, yc));
  return float4(pow(saturate(rgb), gammaInverse), 1);
}
)";
  return std::string(kDeclarations) + body;
}

bool PictureShaders::Make(ID3D11Device* device, std::wstring& reason) {
  ComPtr<ID3DBlob> vertex;
  if (FAILED(Compile(std::string(kDeclarations) + kVertexMain, "VertexMain", "vs_4_0", vertex, &reason))) return false;
  // The most used pixel shader, made now: a compiler that refuses it refuses the renderer.
  ComPtr<ID3DBlob> pixel;
  PixelShaderKind first{ShaderLayout::kLumaAndChroma, 1, 1, false};
  if (FAILED(Compile(PixelShaderSource(first, true), "PixelMain", "ps_4_0", pixel, nullptr))) {
    explicitLevel_ = false;
    if (FAILED(Compile(PixelShaderSource(first, false), "PixelMain", "ps_4_0", pixel, &reason))) return false;
  }
  D3D11_BUFFER_DESC buffer{};
  buffer.ByteWidth = sizeof(PictureConstants);
  buffer.Usage = D3D11_USAGE_DEFAULT;
  buffer.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
  D3D11_SAMPLER_DESC sampler{};
  sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_LINEAR;
  sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
  sampler.MaxLOD = D3D11_FLOAT32_MAX;
  D3D11_BLEND_DESC blend{};
  blend.RenderTarget[0].BlendEnable = TRUE;
  blend.RenderTarget[0].SrcBlend = blend.RenderTarget[0].SrcBlendAlpha = D3D11_BLEND_BLEND_FACTOR;
  blend.RenderTarget[0].DestBlend = blend.RenderTarget[0].DestBlendAlpha = D3D11_BLEND_INV_BLEND_FACTOR;
  blend.RenderTarget[0].BlendOp = blend.RenderTarget[0].BlendOpAlpha = D3D11_BLEND_OP_ADD;
  blend.RenderTarget[0].RenderTargetWriteMask = D3D11_COLOR_WRITE_ENABLE_ALL;
  ComPtr<ID3D11PixelShader> firstShader;
  if (FAILED(device->CreateVertexShader(vertex->GetBufferPointer(), vertex->GetBufferSize(), nullptr, &vertex_)) ||
      FAILED(device->CreatePixelShader(pixel->GetBufferPointer(), pixel->GetBufferSize(), nullptr, &firstShader)) ||
      FAILED(device->CreateBuffer(&buffer, nullptr, &constants_)) ||
      FAILED(device->CreateSamplerState(&sampler, &sampler_)) || FAILED(device->CreateBlendState(&blend, &blend_))) {
    reason = L"the device refused the picture's shaders";
    return false;
  }
  pixel_[first] = firstShader;
  return true;
}

ID3D11PixelShader* PictureShaders::Pixel(ID3D11Device* device, const PixelShaderKind& kind) {
  auto found = pixel_.find(kind);
  if (found != pixel_.end()) return found->second.Get();
  ComPtr<ID3DBlob> code;
  ComPtr<ID3D11PixelShader> shader;
  if (SUCCEEDED(Compile(PixelShaderSource(kind, explicitLevel_), "PixelMain", "ps_4_0", code, nullptr)))
    (void)device->CreatePixelShader(code->GetBufferPointer(), code->GetBufferSize(), nullptr, &shader);
  pixel_[kind] = shader;  // a refusal is not asked again
  return shader.Get();
}

}  // namespace lumorix::engine
