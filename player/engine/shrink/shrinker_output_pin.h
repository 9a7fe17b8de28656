#pragma once
// The picture shrinker's output: RGB for the renderer, seeking for the decoder.
#include <windows.h>
#include "platform/dshow.h"

#include <vector>

#include "platform/com.h"
#include "player/engine/mf/mf_stream_reader.h"
#include "player/engine/filters/pin_base.h"

namespace lumorix::engine {

class PictureShrinker;

// Hands RGB to the renderer and passes its seeking on to the decoder.
class ShrinkerOutputPin : public PinBase, public IMediaSeeking {
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

  // IMediaSeeking: the decoder's, asked through the input's connection.
  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD* capabilities) override;
  HRESULT STDMETHODCALLTYPE CheckCapabilities(DWORD* capabilities) override;
  HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE QueryPreferredFormat(GUID* format) override;
  HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID* format) override;
  HRESULT STDMETHODCALLTYPE IsUsingTimeFormat(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) override;
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG* stop) override;
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* current) override;
  HRESULT STDMETHODCALLTYPE ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                              const GUID* sourceFormat) override;
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                         DWORD stopFlags) override;
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG* current, LONGLONG* stop) override;
  HRESULT STDMETHODCALLTYPE GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
  HRESULT STDMETHODCALLTYPE SetRate(double rate) override;
  HRESULT STDMETHODCALLTYPE GetRate(double* rate) override;
  HRESULT STDMETHODCALLTYPE GetPreroll(LONGLONG* preroll) override;

 protected:
  std::vector<OwnedMediaType> Offered() const override;

 private:
  [[nodiscard]] bool Accepts(const AM_MEDIA_TYPE& type) const;
  // The renderer may ask for other rows (its own stride, top-down) with a sample.
  void AdoptRendererType(IMediaSample* sample);
  ComPtr<IMediaSeeking> Upstream() const;
  // Seeking is the decoder's business; without one there is nothing to seek.
  template <typename Call>
  HRESULT Pass(const Call& call) const {
    ComPtr<IMediaSeeking> decoder = Upstream();
    return decoder ? call(decoder.Get()) : E_NOTIMPL;
  }

  PictureShrinker& filter_;
  // Set while connecting, read by the streaming thread.
  ComPtr<IMemInputPin> input_;
  ComPtr<IMemAllocator> allocator_;
  long stride_ = 0;  // bytes a row, negative for top-down rows
};

}  // namespace lumorix::engine
