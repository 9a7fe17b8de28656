#include "next_entry.h"

namespace lumorix {

int32_t NextEntryIndex(int32_t count, int32_t playingIndex, bool repeat, bool random, const RandomIndex& randomIndex) {
  if (count <= 0) return -1;
  if (random) return randomIndex(count);
  if (repeat) return playingIndex;
  return playingIndex < count - 1 ? playingIndex + 1 : 0;
}

}  // namespace lumorix
