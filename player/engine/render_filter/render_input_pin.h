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
#include "player/engine/filters/pin_base.h"

namespace lumorix::engine {

class RenderFilter;

// The picture a media type describes; none for a type the renderer does not take.
std::optional<PictureFormat> PictureFormatOf(const AM_MEDIA_TYPE& type);

class RenderInputPin : public PinBase, public IMemInputPin {
 public:
  explicit RenderInputPin(RenderFilter& filter);

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
  RenderFilter& filter_;
  ComPtr<IMemAllocator> allocator_;
};

}  // namespace lumorix::engine
