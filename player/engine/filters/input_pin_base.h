#pragma once
// What every input pin of the player's own filters does alike: it takes
// samples through IMemInputPin, keeps the allocator the upstream pin chose
// (or makes a memory allocator when asked for one), hands several samples on
// one at a time and offers no types of its own. The pin says what it accepts
// and what the stream's samples and events do.
#include <windows.h>
#include "platform/dshow.h"

#include <string>
#include <vector>

#include "platform/com.h"
#include "player/engine/filters/pin_base.h"

namespace lumorix::engine {

class InputPinBase : public PinBase, public IMemInputPin {
 public:
  InputPinBase(IBaseFilter& filter, std::wstring name) : PinBase(filter, std::move(name), PINDIR_INPUT) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return PinBase::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return PinBase::Release(); }

  // IPin: an input pin only receives connections.
  HRESULT STDMETHODCALLTYPE Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }

  // IMemInputPin
  HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override;
  HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ReceiveMultiple(IMediaSample** samples, long count, long* done) override;
  HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override { return S_OK; }

 protected:
  std::vector<OwnedMediaType> Offered() const override { return {}; }
  // The connection went: the allocator goes with it.
  void ForgetAllocator() { allocator_.Reset(); }

 private:
  ComPtr<IMemAllocator> allocator_;
};

}  // namespace lumorix::engine
