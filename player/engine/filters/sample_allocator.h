#pragma once
// The allocator an output pin sends its samples through.
#include <windows.h>
#include "platform/dshow.h"

#include "platform/com.h"

namespace lumorix::engine {

// The downstream pin's own allocator first, then a plain one in memory, set
// to at least `buffers` buffers of `bufferSize` bytes and made known to the
// downstream pin.
[[nodiscard]] HRESULT DecideAllocator(IMemInputPin* input, long buffers, long bufferSize,
                                      ComPtr<IMemAllocator>& chosen);

}  // namespace lumorix::engine
