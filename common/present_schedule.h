#pragma once
// When a video renderer shows a picture: at its start time on the graph's
// clock. An early one waits, one on time is shown, a late one is dropped
// unless too many were dropped in a row (the picture must move on a machine
// that cannot keep up). Times in 100 ns units of stream time.
#include <cstdint>

namespace lumorix {

enum class PresentAction { kWait, kPresent, kDrop };

struct PresentDecision {
  PresentAction action = PresentAction::kPresent;
  int64_t wait = 0;  // how long to wait for kWait
  bool operator==(const PresentDecision&) const = default;
};

// Late by more than this (or a frame's length, when longer) counts as too late to show.
inline constexpr int64_t kLateLimit = 300000;  // 30 ms
// Early by less than this is on time: the wait would cost more than it gives.
inline constexpr int64_t kEarlyLimit = 20000;  // 2 ms
inline constexpr int kMostDroppedInARow = 4;

PresentDecision DecidePresent(int64_t sampleStart, int64_t now, int64_t frameLength, int droppedInARow);

}  // namespace lumorix
