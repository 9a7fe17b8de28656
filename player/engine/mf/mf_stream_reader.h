#pragma once
// One stream of a media file, read and decoded by Media Foundation's source
// reader: the first video stream as pictures (NV12 where the decoder gives
// it, offered to the renderer as NV12, YUY2 or RGB32, turned upright), or the
// first audio stream as PCM. Each output pin of the source filter has a reader
// of its own.
#include <windows.h>
#include <mfidl.h>
#include <mfreadwrite.h>
#include "platform/dshow.h"

#include <memory>
#include <string>
#include <vector>

#include "common/mp4_rotation.h"
#include "common/picture_convert.h"
#include "platform/com.h"
#include "player/engine/filters/media_type.h"
#include "player/engine/mf/mf_picture_copy.h"

namespace lumorix::engine {

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
  // none Media Foundation can decode. `error` gets the reason of a file that
  // cannot be opened at all; `present` whether it has a stream of that kind,
  // decodable or not.
  static std::unique_ptr<MfStreamReader> Open(const std::wstring& path, Kind kind, HRESULT* error, bool* present);

  Kind StreamKind() const { return kind_; }
  // What the stream can be handed on as, the preferred first.
  const std::vector<OwnedMediaType>& MediaTypes() const { return mediaTypes_; }
  // The size of a buffer for samples of `type`, one of MediaTypes().
  long BufferSize(const AM_MEDIA_TYPE& type) const {
    return kind_ == Kind::kAudio ? audioBufferSize_ : static_cast<long>(type.lSampleSize);
  }
  // Length of the file's presentation, 100 ns units; 0 when the file does not say.
  LONGLONG Duration() const { return duration_; }
  bool CanSeek() const { return canSeek_; }

  [[nodiscard]] HRESULT Seek(LONGLONG position);

  struct Frame {
    ComPtr<IMFSample> sample;  // empty at the end or on a gap without data
    LONGLONG time = 0;
    LONGLONG length = 0;
    bool end = false;
  };
  [[nodiscard]] HRESULT Read(Frame& frame);

  // The picture of a video frame, upright, into a renderer buffer.
  [[nodiscard]] bool CopyPicture(IMFSample* sample, const PictureTarget& out) const {
    return CopySamplePicture(sample, decoded_, quarterTurns_, out);
  }
  // Whether the pictures are turned on the way (then never handed over as the decoder's textures).
  bool Turns() const { return quarterTurns_ != 0; }
  // The picture as shown: the decoded size, turned.
  int Width() const { return quarterTurns_ & 1 ? decoded_.height : decoded_.width; }
  int Height() const { return quarterTurns_ & 1 ? decoded_.width : decoded_.height; }
  // The size handed over in `layout`: YUV goes at the picture's own size (the
  // renderer scales it on the graphics card); RGB, converted on the processor
  // anyway, no larger than the whole screen area can show.
  int Width(PixelLayout layout) const { return layout == PixelLayout::kRgb32 ? rgbWidth_ : Width(); }
  int Height(PixelLayout layout) const { return layout == PixelLayout::kRgb32 ? rgbHeight_ : Height(); }

 private:
  MfStreamReader(Kind kind) : kind_(kind) {}
  [[nodiscard]] HRESULT ChooseVideoOutput(const std::wstring& path);
  [[nodiscard]] HRESULT ChooseAudioOutput();
  void ReadDecodedLayout();

  Kind kind_;
  MfPlatformScope platform_;
  ComPtr<IMFSourceReader> reader_;
  DWORD stream_ = 0;
  std::vector<OwnedMediaType> mediaTypes_;
  long audioBufferSize_ = 0;
  LONGLONG duration_ = 0;
  bool canSeek_ = true;
  DecodedLayout decoded_;
  int quarterTurns_ = 0;
  int rgbWidth_ = 0;
  int rgbHeight_ = 0;
};

// The video track an MP4 or QuickTime file says it has, read from the file
// itself: the platform's source reports neither a track it has no decoder for
// nor the track's rotation everywhere.
Mp4VideoTrack StoredVideoTrack(const std::wstring& path);

// The layout of a video media type this source offers.
PixelLayout LayoutOf(const AM_MEDIA_TYPE& type);

}  // namespace lumorix::engine
