#include "player/engine/filters/input_pin_base.h"

namespace lumorix::engine {

HRESULT InputPinBase::QueryInterface(REFIID iid, void** object) {
  return Query(iid, object, IID_IMemInputPin, static_cast<IMemInputPin*>(this));
}

HRESULT InputPinBase::GetAllocator(IMemAllocator** allocator) {
  if (!allocator) return E_POINTER;
  if (!allocator_ &&
      FAILED(CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&allocator_))))
    return VFW_E_NO_ALLOCATOR;
  *allocator = allocator_.Get();
  (*allocator)->AddRef();
  return S_OK;
}

HRESULT InputPinBase::NotifyAllocator(IMemAllocator* allocator, BOOL) {
  if (!allocator) return E_POINTER;
  allocator_ = allocator;
  return S_OK;
}

HRESULT InputPinBase::ReceiveMultiple(IMediaSample** samples, long count, long* done) {
  if (!samples || !done) return E_POINTER;
  HRESULT result = S_OK;
  for (*done = 0; *done < count; ++*done)
    if ((result = Receive(samples[*done])) != S_OK) break;
  return result;
}

}  // namespace lumorix::engine
