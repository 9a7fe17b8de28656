#include "common/random_pick.h"

#include <chrono>

namespace lumorix {

int32_t RandomPick::operator()(int32_t count) {
  if (count <= 0) return -1;
  return std::uniform_int_distribution<int32_t>(0, count - 1)(engine_);
}

uint64_t FreshSeed() {
  std::random_device device;
  uint64_t seed = (uint64_t{device()} << 32) ^ device();
  return seed ^ static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace lumorix
