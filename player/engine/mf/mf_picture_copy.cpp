#include "player/engine/mf/mf_picture_copy.h"

#include <algorithm>
#include <cstdlib>

#include "platform/com.h"

namespace lumorix::engine {

namespace {

// A locked picture buffer: its first row and the step to the next.
class LockedPicture {
 public:
  LockedPicture(IMFMediaBuffer* buffer, LONG defaultStride, int rows) {
    if (SUCCEEDED(buffer->QueryInterface(IID_PPV_ARGS(&twoD_))) && SUCCEEDED(twoD_->Lock2D(&first_, &pitch_))) {
      (void)buffer->GetCurrentLength(&length_);
      whole_ = true;  // a 2-D buffer holds the whole picture at its pitch
      return;
    }
    twoD_.Reset();
    BYTE* data = nullptr;
    if (FAILED(buffer->Lock(&data, nullptr, &length_))) return;
    buffer_ = buffer;
    pitch_ = defaultStride;
    // A negative stride means the bottom row comes first in memory.
    first_ = pitch_ < 0 ? data + static_cast<ptrdiff_t>(-pitch_) * (rows - 1) : data;
  }
  ~LockedPicture() {
    if (twoD_)
      (void)twoD_->Unlock2D();
    else if (buffer_)
      (void)buffer_->Unlock();
  }
  LockedPicture(const LockedPicture&) = delete;
  LockedPicture& operator=(const LockedPicture&) = delete;
  const BYTE* First() const { return first_; }
  LONG Pitch() const { return pitch_; }
  // Whether `bytes` from the start of the picture lie in the buffer.
  bool Holds(size_t bytes) const { return whole_ || bytes <= length_; }

 private:
  ComPtr<IMF2DBuffer> twoD_;
  IMFMediaBuffer* buffer_ = nullptr;
  BYTE* first_ = nullptr;
  LONG pitch_ = 0;
  DWORD length_ = 0;
  bool whole_ = false;
};

}  // namespace

bool CopySamplePicture(IMFSample* sample, const DecodedLayout& decoded, int quarterTurns, const PictureTarget& out) {
  ComPtr<IMFMediaBuffer> buffer;
  if (!sample || decoded.width <= 0 || decoded.height <= 0 || FAILED(sample->ConvertToContiguousBuffer(&buffer)))
    return false;
  int bufferRows = std::max(decoded.bufferHeight, decoded.height);
  LockedPicture picture(buffer.Get(), decoded.defaultStride, bufferRows);
  if (!picture.First()) return false;
  ptrdiff_t pitch = picture.Pitch();
  size_t rowBytes = static_cast<size_t>(std::abs(pitch));
  if (rowBytes < static_cast<size_t>(RowBytes(decoded.layout, decoded.width))) return false;
  // NV12's chroma rows follow the padded luma rows at the same pitch.
  size_t needed = rowBytes * bufferRows;
  if (decoded.layout == PixelLayout::kNv12) needed += rowBytes * ((decoded.height + 1) / 2);
  if (!picture.Holds(needed)) return false;
  PictureView in;
  in.layout = decoded.layout;
  in.width = decoded.width;
  in.height = decoded.height;
  in.rows = picture.First();
  in.stride = pitch;
  if (decoded.layout == PixelLayout::kNv12) {
    in.chroma = picture.First() + pitch * bufferRows;
    in.chromaStride = pitch;
  }
  ConvertPicture(in, quarterTurns, out);
  return true;
}

}  // namespace lumorix::engine
