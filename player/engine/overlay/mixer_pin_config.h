#pragma once
// The Overlay Mixer's pin configuration interfaces, declared from their
// documented layout (MinGW-w64's headers lack them), and the identifiers of
// the filters around it.
#include <windows.h>
#include <ddraw.h>
#include "platform/dshow.h"

namespace lumorix::engine {

enum AspectRatioMode { kAspectStretched = 0, kAspectLetterBox = 1, kAspectCrop = 2 };

struct IMixerPinConfig : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetRelativePosition(DWORD left, DWORD top, DWORD right, DWORD bottom) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRelativePosition(DWORD* left, DWORD* top, DWORD* right, DWORD* bottom) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetZOrder(DWORD zOrder) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetZOrder(DWORD* zOrder) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetColorKey(COLORKEY* key) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetColorKey(COLORKEY* key, DWORD* color) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetBlendingParameter(DWORD blending) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBlendingParameter(DWORD* blending) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAspectRatioMode(DWORD mode) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAspectRatioMode(DWORD* mode) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetStreamTransparent(BOOL transparent) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetStreamTransparent(BOOL* transparent) = 0;
};

struct IMixerPinConfig2 : public IMixerPinConfig {
  virtual HRESULT STDMETHODCALLTYPE SetOverlaySurfaceColorControls(DDCOLORCONTROL* colors) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOverlaySurfaceColorControls(DDCOLORCONTROL* colors) = 0;
};

}  // namespace lumorix::engine

__CRT_UUID_DECL(lumorix::engine::IMixerPinConfig, 0x593cdde1, 0x0759, 0x11d1, 0x9e, 0x69, 0x00, 0xc0, 0x4f, 0xd7, 0xc1,
                0x5b)
__CRT_UUID_DECL(IDDrawExclModeVideo, 0x153acc21, 0xd83b, 0x11d1, 0x82, 0xbf, 0x00, 0xa0, 0xc9, 0x69, 0x6c, 0x8f)
__CRT_UUID_DECL(IDDrawExclModeVideoCallback, 0x913c24a0, 0x20ab, 0x11d2, 0x90, 0x38, 0x00, 0xa0, 0xc9, 0x69, 0x72, 0x98)
__CRT_UUID_DECL(lumorix::engine::IMixerPinConfig2, 0xebf47182, 0x8764, 0x11d1, 0x9e, 0x69, 0x00, 0xc0, 0x4f, 0xd7, 0xc1,
                0x5b)

namespace lumorix::engine {
// The two class identifiers an Overlay Mixer may carry.
inline constexpr GUID kOverlayMixerClass = {
    0xcd8743a1, 0x3736, 0x11d0, {0x9e, 0x69, 0x00, 0xc0, 0x4f, 0xd7, 0xc1, 0x5b}};
inline constexpr GUID kOverlayMixer2Class = {
    0xa0025e90, 0xe45b, 0x11d1, {0xab, 0xe9, 0x00, 0xa0, 0xc9, 0x05, 0xf3, 0x75}};
inline constexpr GUID kVideoMixingRendererClass = {
    0xb87beb7b, 0x8d29, 0x423f, {0xae, 0x4d, 0x65, 0x82, 0xc1, 0x01, 0x75, 0xac}};
inline constexpr GUID kVideoRendererClass = {
    0x70e102b0, 0x5556, 0x11ce, {0x97, 0xc0, 0x00, 0xaa, 0x00, 0x55, 0x59, 0x5a}};
inline constexpr GUID kLine21Decoder2Class = {
    0xe4206432, 0x01a1, 0x4bee, {0xb3, 0xe1, 0x37, 0x02, 0xc8, 0xed, 0xc5, 0x74}};
inline constexpr GUID kLine21DecoderClass = {
    0x6e8d4a20, 0x310c, 0x11d0, {0xb7, 0x9a, 0x00, 0xaa, 0x00, 0x37, 0x67, 0xa7}};

// The colour-key record the Overlay Mixer fills: palette index or RGB range.
inline constexpr DWORD kColorKeyIndexAndRgb = 3;
}  // namespace lumorix::engine
