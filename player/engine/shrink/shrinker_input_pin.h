#pragma once
// The picture shrinker's input: the decoder's 4:2:0 YUV.
#include <windows.h>
#include "platform/dshow.h"

#include <atomic>
#include <vector>

#include "platform/com.h"
#include "player/engine/mf/mf_stream_reader.h"
#include "player/engine/filters/pin_base.h"

namespace lumorix::engine {

class PictureShrinker;

// Takes the decoder's pictures and passes the stream's events on.
class ShrinkerInputPin : public PinBase, public IMemInputPin {
 public:
  explicit ShrinkerInputPin(PictureShrinker& filter);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return PinBase::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return PinBase::Release(); }

  // IPin
  HRESULT STDMETHODCALLTYPE Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override;
  HRESULT STDMETHODCALLTYPE BeginFlush() override;
  HRESULT STDMETHODCALLTYPE EndFlush() override;
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  // IMemInputPin
  HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override;
  HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
  HRESULT STDMETHODCALLTYPE ReceiveMultiple(IMediaSample** samples, long count, long* done) override;
  HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override { return S_OK; }

 protected:
  std::vector<OwnedMediaType> Offered() const override { return {}; }

 private:
  PictureShrinker& filter_;
  ComPtr<IMemAllocator> allocator_;
  std::atomic<bool> flushing_{false};
};

}  // namespace lumorix::engine
