#pragma once
// One stream of a media file, read and decoded by Media Foundation's source
// reader: the first video stream as 32-bit RGB pictures, or the first audio
// stream as PCM. Each output pin of the source filter has a reader of its own.
#include <windows.h>
#include <mfidl.h>
#include <mfreadwrite.h>
#include "platform/dshow.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/com.h"

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
  // The same kind of data; fields left empty in `wanted` match anything.
  bool Matches(const AM_MEDIA_TYPE& wanted) const;

 private:
  AM_MEDIA_TYPE type_{};
  std::vector<BYTE> format_;
};

// Frees a media type the platform allocated, with its format block.
void DeleteMediaType(AM_MEDIA_TYPE* type);

// Keeps Media Foundation started while any reader lives.
class MfPlatformScope {
 public:
  MfPlatformScope();
  ~MfPlatformScope();
  MfPlatformScope(const MfPlatformScope&) = delete;
  MfPlatformScope& operator=(const MfPlatformScope&) = delete;
  bool Started() const { return started_; }

 private:
  bool started_ = false;
};

class MfStreamReader {
 public:
  enum class Kind { kVideo, kAudio };

  // The reader of the file's first stream of that kind; empty when the file has
  // none Media Foundation can decode. `error` gets the reason of a file that cannot be opened at all.
  static std::unique_ptr<MfStreamReader> Open(const std::wstring& path, Kind kind, HRESULT* error);

  Kind StreamKind() const { return kind_; }
  const OwnedMediaType& MediaType() const { return mediaType_; }
  long BufferSize() const { return bufferSize_; }
  // Length of the file's presentation, 100 ns units.
  LONGLONG Duration() const { return duration_; }

  [[nodiscard]] HRESULT Seek(LONGLONG position);

  struct Frame {
    ComPtr<IMFSample> sample;  // empty at the end or on a gap without data
    LONGLONG time = 0;
    LONGLONG length = 0;
    bool end = false;
  };
  [[nodiscard]] HRESULT Read(Frame& frame);

  // The picture of a video frame into a renderer buffer of `stride` bytes a row,
  // bottom-up when `bottomUp`.
  void CopyPicture(IMFSample* sample, BYTE* out, long stride, bool bottomUp) const;
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  MfStreamReader(Kind kind) : kind_(kind) {}
  [[nodiscard]] HRESULT ChooseVideoOutput();
  [[nodiscard]] HRESULT ChooseAudioOutput();
  void ReadDecodedLayout();

  Kind kind_;
  MfPlatformScope platform_;
  ComPtr<IMFSourceReader> reader_;
  DWORD stream_ = 0;
  OwnedMediaType mediaType_;
  long bufferSize_ = 0;
  LONGLONG duration_ = 0;
  // The decoder's pictures: RGB32 or NV12, their full size and row pitch.
  bool nv12_ = false;
  int width_ = 0;
  int height_ = 0;
  int decodedHeight_ = 0;
  LONG decodedStride_ = 0;
};

}  // namespace lumorix::engine
