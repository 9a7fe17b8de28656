#include "player/engine/filters/sample_allocator.h"

#include <algorithm>

namespace lumorix::engine {

HRESULT DecideAllocator(IMemInputPin* input, long buffers, long bufferSize, ComPtr<IMemAllocator>& chosen) {
  ALLOCATOR_PROPERTIES wanted{};
  (void)input->GetAllocatorRequirements(&wanted);
  wanted.cBuffers = std::max(wanted.cBuffers, buffers);
  wanted.cbBuffer = std::max(wanted.cbBuffer, bufferSize);
  wanted.cbAlign = std::max<long>(wanted.cbAlign, 1);
  for (int attempt = 0; attempt < 2; ++attempt) {
    ComPtr<IMemAllocator> allocator;
    HRESULT made =
        attempt == 0 ? input->GetAllocator(&allocator)
                     : CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&allocator));
    if (FAILED(made) || !allocator) continue;
    ALLOCATOR_PROPERTIES actual{};
    if (FAILED(allocator->SetProperties(&wanted, &actual)) || actual.cbBuffer < bufferSize) continue;
    if (FAILED(input->NotifyAllocator(allocator.Get(), FALSE))) continue;
    chosen = allocator;
    return S_OK;
  }
  return VFW_E_NO_ALLOCATOR;
}

}  // namespace lumorix::engine
