#pragma once
// The picture shrinker's output: RGB for the renderer, seeking for the decoder.
#include <windows.h>
#include "platform/dshow.h"

#include <vector>

#include "platform/com.h"
#include "player/engine/mf/mf_stream_reader.h"
#include "player/engine/filters/pin_base.h"
#include "player/engine/filters/upstream_seeking.h"

namespace lumorix::engine {

class PictureShrinker;

// Hands RGB to the renderer and passes its seeking on to the decoder.
class ShrinkerOutputPin : public PinBase, public UpstreamSeeking {
 public:
  explicit ShrinkerOutputPin(PictureShrinker& filter);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return PinBase::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return PinBase::Release(); }

  // Filter state changes: the buffers are there only while not stopped.
  void Active();
  void Inactive();
  // One picture from the decoder, converted and sent on.
  HRESULT Deliver(IMediaSample* in);

  // IPin
  HRESULT STDMETHODCALLTYPE Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE BeginFlush() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE EndFlush() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return E_UNEXPECTED; }


 protected:
  std::vector<OwnedMediaType> Offered() const override;

 private:
  [[nodiscard]] bool Accepts(const AM_MEDIA_TYPE& type) const;
  // The renderer may ask for other rows (its own stride, top-down) with a sample.
  void AdoptRendererType(IMediaSample* sample);
  // Seeking is the decoder's, asked through the input's connection.
  ComPtr<IMediaSeeking> SeekingUpstream() const override;

  PictureShrinker& filter_;
  // Set while connecting, read by the streaming thread.
  ComPtr<IMemInputPin> input_;
  ComPtr<IMemAllocator> allocator_;
  long stride_ = 0;  // bytes a row, negative for top-down rows
};

}  // namespace lumorix::engine
