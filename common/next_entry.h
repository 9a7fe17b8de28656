#pragma once
// Which playlist entry plays next, under the repeat and random modes.
#include <cstdint>
#include <functional>

namespace lumorix {

// `randomIndex(count)` gives a uniformly random index 0 .. count - 1.
using RandomIndex = std::function<int32_t(int32_t count)>;

// Random wins over repeat; without either the index wraps to 0 after the last entry.
// Returns -1 when the playlist is empty.
int32_t NextEntryIndex(int32_t count, int32_t playingIndex, bool repeat, bool random, const RandomIndex& randomIndex);

}  // namespace lumorix
