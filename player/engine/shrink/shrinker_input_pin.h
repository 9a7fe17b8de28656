#pragma once
// The picture shrinker's input: the decoder's 4:2:0 YUV.
#include <windows.h>
#include "platform/dshow.h"

#include <atomic>
#include <vector>

#include "platform/com.h"
#include "player/engine/mf/mf_stream_reader.h"
#include "player/engine/filters/input_pin_base.h"

namespace lumorix::engine {

class PictureShrinker;

// Takes the decoder's pictures and passes the stream's events on.
class ShrinkerInputPin : public InputPinBase {
 public:
  explicit ShrinkerInputPin(PictureShrinker& filter);

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
  PictureShrinker& filter_;
  std::atomic<bool> flushing_{false};
};

}  // namespace lumorix::engine
