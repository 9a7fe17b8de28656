#include "player/engine/filters/media_type.h"

#include <cstring>

namespace lumorix::engine {

OwnedMediaType::OwnedMediaType(const GUID& major, const GUID& sub, const GUID& formatType, const void* format,
                               size_t size)
    : format_(static_cast<const BYTE*>(format), static_cast<const BYTE*>(format) + size) {
  type_.majortype = major;
  type_.subtype = sub;
  type_.formattype = formatType;
  type_.cbFormat = static_cast<ULONG>(format_.size());
  type_.pbFormat = format_.data();
}

OwnedMediaType& OwnedMediaType::operator=(const OwnedMediaType& other) {
  if (this == &other) return *this;
  type_ = other.type_;
  format_ = other.format_;
  type_.pbFormat = format_.empty() ? nullptr : format_.data();
  type_.pUnk = nullptr;
  return *this;
}

HRESULT OwnedMediaType::CopyTo(AM_MEDIA_TYPE* out) const {
  if (!out) return E_POINTER;
  *out = type_;
  out->pUnk = nullptr;
  out->pbFormat = nullptr;
  if (format_.empty()) return S_OK;
  out->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(format_.size()));
  if (!out->pbFormat) {
    out->cbFormat = 0;
    return E_OUTOFMEMORY;
  }
  std::memcpy(out->pbFormat, format_.data(), format_.size());
  return S_OK;
}

bool OwnedMediaType::Matches(const AM_MEDIA_TYPE& wanted) const {
  auto same = [](const GUID& want, const GUID& have) { return want == GUID_NULL || want == have; };
  return same(wanted.majortype, type_.majortype) && same(wanted.subtype, type_.subtype) &&
         same(wanted.formattype, type_.formattype);
}

void DeleteMediaType(AM_MEDIA_TYPE* type) {
  if (!type) return;
  FreeMediaTypeContents(*type);
  CoTaskMemFree(type);
}

void FreeMediaTypeContents(AM_MEDIA_TYPE& type) {
  if (type.pbFormat) CoTaskMemFree(type.pbFormat);
  if (type.pUnk) type.pUnk->Release();
  type.pbFormat = nullptr;
  type.cbFormat = 0;
  type.pUnk = nullptr;
}

}  // namespace lumorix::engine
