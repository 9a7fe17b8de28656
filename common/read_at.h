#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

namespace lumorix {

// Reads `size` bytes at `offset` of a file; false when they are not all there.
using ReadAt = std::function<bool(uint64_t offset, void* buffer, size_t size)>;

}  // namespace lumorix
