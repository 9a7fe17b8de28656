#pragma once
// A DirectShow filter that takes a decoder's 4:2:0 YUV (I420, YV12 or NV12)
// and hands on 32-bit RGB shrunk to fit a given size, shape kept. It stands
// in front of a renderer that takes RGB only (Wine's Video Renderer, Windows'
// without DirectDraw), which would otherwise be given the whole picture
// converted to RGB by the decoder and shrink it through GDI on every frame:
// four bytes a pixel of a picture far larger than the screens, carried,
// converted and then mostly thrown away. Here one pass reads the YUV and
// writes only what is shown. Seeking goes through to the decoder.
#include <windows.h>
#include "platform/dshow.h"

#include <mutex>
#include <optional>

#include "common/yuv420_planes.h"
#include "platform/com.h"
#include "player/engine/filters/filter_base.h"
#include "player/engine/mf/mf_stream_reader.h"
#include "player/engine/shrink/shrinker_input_pin.h"
#include "player/engine/shrink/shrinker_output_pin.h"

namespace lumorix::engine {

class PictureShrinker : public FilterBase {
 public:
  // Hands on pictures no larger than `limit`.
  explicit PictureShrinker(SIZE limit);

  ShrinkerInputPin* Input() { return &input_; }
  ShrinkerOutputPin* Output() { return &output_; }
  // The picture the input takes, and its shrunk size; zero until connected.
  struct Source {
    GUID subtype = GUID_NULL;
    int width = 0, height = 0;              // the picture shown
    int bufferWidth = 0, bufferHeight = 0;  // the picture in the buffer, which may be padded
    REFERENCE_TIME frameTime = 0;
  };
  Source Picture() const;
  SIZE Shrunk() const;
  // Whether the input can take `type`: 4:2:0 YUV, top-down, of any size.
  static bool TakesYuv(const AM_MEDIA_TYPE& type);
  // The 4:2:0 layout a subtype names.
  static std::optional<Yuv420Order> OrderOf(const GUID& subtype);

 protected:
  std::vector<IPin*> Pins() override;
  void Activate() override { output_.Active(); }
  void Deactivate() override { output_.Inactive(); }

 private:
  friend class ShrinkerInputPin;
  void SetPicture(const Source& picture);

  const SIZE limit_;
  ShrinkerInputPin input_{*this};
  ShrinkerOutputPin output_{*this};
  mutable std::mutex pictureLock_;
  Source picture_;
};

}  // namespace lumorix::engine
