#pragma once
// DirectShow media types: one owned with its format block, and the freeing
// of those the platform allocates.
#include <windows.h>
#include "platform/dshow.h"

#include <vector>

namespace lumorix::engine {

// A DirectShow media type with its format block, owned.
class OwnedMediaType {
 public:
  OwnedMediaType() = default;
  OwnedMediaType(const GUID& major, const GUID& sub, const GUID& formatType, const void* format, size_t size);
  OwnedMediaType(const OwnedMediaType& other) { *this = other; }
  OwnedMediaType& operator=(const OwnedMediaType& other);
  const AM_MEDIA_TYPE& Get() const { return type_; }
  // A copy whose format block the receiver frees with CoTaskMemFree.
  [[nodiscard]] HRESULT CopyTo(AM_MEDIA_TYPE* out) const;
  // Samples of one fixed size, each a whole picture or sound frame.
  void SetSampleSize(ULONG size) {
    type_.bFixedSizeSamples = TRUE;
    type_.bTemporalCompression = FALSE;
    type_.lSampleSize = size;
  }
  // The same kind of data; fields left empty in `wanted` match anything.
  bool Matches(const AM_MEDIA_TYPE& wanted) const;

 private:
  AM_MEDIA_TYPE type_{};
  std::vector<BYTE> format_;
};

// Frees a media type the platform allocated, with its format block.
void DeleteMediaType(AM_MEDIA_TYPE* type);

// Frees what a media type owns (its format block and object), not the type itself.
void FreeMediaTypeContents(AM_MEDIA_TYPE& type);

}  // namespace lumorix::engine
