// Methods 2 to 5, reducing: a probabilistic stage over follower sets, then a
// run-length and back-reference stage keyed on the byte 144 (DLE).
#include <array>

#include "setup/zip/decoders.h"
#include "setup/zip/zip_types.h"

namespace lumorix::zip {

namespace {

constexpr uint8_t kEscape = 144;

// Bits that index a follower set of n entries (at least one).
int IndexBits(int count) {
  int bits = 1;
  while ((1 << bits) < count) ++bits;
  return bits;
}

}  // namespace

int32_t DecodeReduced(EntryInput& input, OutputWindow& output, int factor, int64_t size) {
  if (factor < 1 || factor > 4) return zrUnsupportedMethod;
  BitInput bits(input);
  std::array<std::array<uint8_t, 32>, 256> followers{};
  std::array<uint8_t, 256> followerCount{};
  for (int last = 255; last >= 0; --last) {
    uint32_t count;
    if (!bits.Bits(6, count)) return zrReadFailed;
    if (count > 32) return zrBadData;
    followerCount[static_cast<size_t>(last)] = static_cast<uint8_t>(count);
    for (uint32_t i = 0; i < count; ++i) {
      uint32_t byte;
      if (!bits.Bits(8, byte)) return zrReadFailed;
      followers[static_cast<size_t>(last)][i] = static_cast<uint8_t>(byte);
    }
  }

  const uint32_t lengthMask = 0xFFu >> factor;
  int state = 0;
  uint32_t lastByte = 0, value = 0, length = 0;
  while (size < 0 || output.Total() < size) {
    uint32_t byte;
    int count = followerCount[lastByte];
    if (count == 0) {
      if (!bits.Bits(8, byte)) return size < 0 ? zrOk : zrReadFailed;
    } else {
      uint32_t literal;
      if (!bits.Bit(literal)) return size < 0 ? zrOk : zrReadFailed;
      if (literal) {
        if (!bits.Bits(8, byte)) return zrReadFailed;
      } else {
        uint32_t index;
        if (!bits.Bits(IndexBits(count), index)) return zrReadFailed;
        if (static_cast<int>(index) >= count) return zrBadData;
        byte = followers[lastByte][index];
      }
    }
    lastByte = byte;

    switch (state) {
      case 0:
        if (byte != kEscape) {
          if (!output.Put(static_cast<uint8_t>(byte))) return zrWriteFailed;
        } else {
          state = 1;
        }
        break;
      case 1:
        if (byte != 0) {
          value = byte;
          length = value & lengthMask;
          state = length == lengthMask ? 2 : 3;
        } else {
          if (!output.Put(kEscape)) return zrWriteFailed;
          state = 0;
        }
        break;
      case 2:
        length += byte;
        state = 3;
        break;
      default: {
        uint32_t distance = ((value >> (8 - factor)) << 8) + byte + 1;
        uint32_t run = length + 3;
        if (size >= 0 && run > size - output.Total()) run = static_cast<uint32_t>(size - output.Total());
        if (!output.CopyBack(distance, run)) return zrWriteFailed;
        state = 0;
        break;
      }
    }
  }
  return zrOk;
}

}  // namespace lumorix::zip
