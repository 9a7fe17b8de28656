#pragma once
// A picture that stays on the graphics card between two of the player's
// filters: the Media Foundation source hands the renderer a sample carrying
// the decoder's texture (no bytes), and the renderer reads it through
// IPictureTexture. The texture is of the device the renderer lent the
// decoder; any other filter sees an empty sample.
#include <windows.h>
#include "platform/dshow.h"

#include "platform/com.h"

namespace lumorix::engine {

// {6F3C2A91-5B7E-4D28-9C41-2E8A7D0B5F63}
struct IPictureTexture : IUnknown {
  // The texture (an ID3D11Texture2D) and the index of the picture in it.
  virtual HRESULT STDMETHODCALLTYPE GetTexture(IUnknown** texture, UINT* subresource) = 0;
};

}  // namespace lumorix::engine

__CRT_UUID_DECL(lumorix::engine::IPictureTexture, 0x6f3c2a91, 0x5b7e, 0x4d28, 0x9c, 0x41, 0x2e, 0x8a, 0x7d, 0x0b, 0x5f,
                0x63)

namespace lumorix::engine {

class TextureSample final : public ComObject<IMediaSample, IPictureTexture> {
 public:
  TextureSample(ComPtr<IUnknown> texture, UINT subresource) : texture_(std::move(texture)), index_(subresource) {}

  HRESULT STDMETHODCALLTYPE GetTexture(IUnknown** texture, UINT* subresource) override;

  HRESULT STDMETHODCALLTYPE GetPointer(BYTE** buffer) override;
  long STDMETHODCALLTYPE GetSize() override { return 0; }
  HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
  HRESULT STDMETHODCALLTYPE SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
  HRESULT STDMETHODCALLTYPE IsSyncPoint() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetSyncPoint(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsPreroll() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE SetPreroll(BOOL) override { return S_OK; }
  long STDMETHODCALLTYPE GetActualDataLength() override { return 0; }
  HRESULT STDMETHODCALLTYPE SetActualDataLength(long) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMediaType(AM_MEDIA_TYPE** type) override;
  HRESULT STDMETHODCALLTYPE SetMediaType(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsDiscontinuity() override { return discontinuity_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE SetDiscontinuity(BOOL discontinuity) override;
  HRESULT STDMETHODCALLTYPE GetMediaTime(LONGLONG*, LONGLONG*) override { return VFW_E_MEDIA_TIME_NOT_SET; }
  HRESULT STDMETHODCALLTYPE SetMediaTime(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }

 private:
  ComPtr<IUnknown> texture_;
  UINT index_;
  REFERENCE_TIME start_ = 0, end_ = 0;
  bool timed_ = false;
  bool discontinuity_ = false;
};

}  // namespace lumorix::engine
