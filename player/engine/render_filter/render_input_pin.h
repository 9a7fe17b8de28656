#pragma once
// The renderer's input: NV12, I420/IYUV, YV12, YUY2 and RGB32 pictures in
// memory, or samples carrying a texture of the renderer's device; the
// stream's flushes, segments and end go to the filter.
#include <windows.h>
#include "platform/dshow.h"

#include <atomic>
#include <optional>
#include <vector>

#include "platform/com.h"
#include "player/engine/d3d11/picture_frame.h"
#include "player/engine/filters/input_pin_base.h"

namespace lumorix::engine {

class RenderFilter;

// The picture a media type describes; none for a type the renderer does not take.
std::optional<PictureFormat> PictureFormatOf(const AM_MEDIA_TYPE& type);

class RenderInputPin : public InputPinBase {
 public:
  explicit RenderInputPin(RenderFilter& filter);

  // IPin
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override;
  HRESULT STDMETHODCALLTYPE BeginFlush() override;
  HRESULT STDMETHODCALLTYPE EndFlush() override;
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  // IMemInputPin
  HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;

 private:
  RenderFilter& filter_;
};

}  // namespace lumorix::engine
