#include "common/present_schedule.h"

#include <algorithm>

namespace lumorix {

PresentDecision DecidePresent(int64_t sampleStart, int64_t now, int64_t frameLength, int droppedInARow) {
  int64_t early = sampleStart - now;
  if (early > kEarlyLimit) return {PresentAction::kWait, early};
  if (-early > std::max(kLateLimit, frameLength) && droppedInARow < kMostDroppedInARow)
    return {PresentAction::kDrop, 0};
  return {PresentAction::kPresent, 0};
}

}  // namespace lumorix
