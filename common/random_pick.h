#pragma once
// Uniform random playlist indexes: seeded once for the life of the player, so
// two picks in the same second differ, and fair over any count.
#include <cstdint>
#include <random>

namespace lumorix {

class RandomPick {
 public:
  explicit RandomPick(uint64_t seed) : engine_(seed) {}
  // A uniformly random index 0 .. count - 1; -1 when count is not positive.
  int32_t operator()(int32_t count);

 private:
  std::mt19937_64 engine_;
};

// A seed that differs from run to run.
uint64_t FreshSeed();

}  // namespace lumorix
