#include "player/engine/filters/texture_sample.h"

namespace lumorix::engine {

HRESULT TextureSample::GetTexture(IUnknown** texture, UINT* subresource) {
  if (!texture || !subresource) return E_POINTER;
  *texture = texture_.Get();
  if (*texture) (*texture)->AddRef();
  *subresource = index_;
  return *texture ? S_OK : E_FAIL;
}

HRESULT TextureSample::GetPointer(BYTE** buffer) {
  if (!buffer) return E_POINTER;
  *buffer = nullptr;  // the picture is on the graphics card only
  return E_NOTIMPL;
}

HRESULT TextureSample::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) {
  if (!start || !end) return E_POINTER;
  if (!timed_) return VFW_E_SAMPLE_TIME_NOT_SET;
  *start = start_;
  *end = end_;
  return S_OK;
}

HRESULT TextureSample::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) {
  timed_ = start != nullptr;
  if (start) start_ = *start;
  end_ = end ? *end : start_ + 1;
  return S_OK;
}

HRESULT TextureSample::GetMediaType(AM_MEDIA_TYPE** type) {
  if (!type) return E_POINTER;
  *type = nullptr;
  return S_FALSE;
}

HRESULT TextureSample::SetDiscontinuity(BOOL discontinuity) {
  discontinuity_ = discontinuity != FALSE;
  return S_OK;
}

}  // namespace lumorix::engine
