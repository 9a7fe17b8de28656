#include "volume_curve.h"

#include <cmath>

namespace lumorix {

namespace {
constexpr double kCurveFactor = 1085.73;

// Rounds to the nearest integer, halves to even.
int32_t RoundHalfEven(double value) { return static_cast<int32_t>(std::nearbyint(value)); }
}  // namespace

int32_t ClampVolume(int32_t volume) { return volume < 0 ? 0 : volume > kVolumeMax ? kVolumeMax : volume; }

int32_t ClampBalance(int32_t balance) {
  return balance < -kBalanceMax ? -kBalanceMax : balance > kBalanceMax ? kBalanceMax : balance;
}

int32_t VolumeToAttenuation(int32_t volume, bool logarithmic) {
  volume = ClampVolume(volume);
  if (!logarithmic) return volume - kVolumeMax;
  // ln(10001) * 1085.73 = 10000.05, so the top of the range lands on 0.
  return RoundHalfEven(std::log(volume + 1.0) * kCurveFactor) - kVolumeMax;
}

int32_t BalanceToAttenuation(int32_t balance, bool logarithmic) {
  balance = ClampBalance(balance);
  if (!logarithmic) return balance;
  int32_t magnitude = RoundHalfEven(std::log(std::abs(balance) + 1.0) * kCurveFactor);
  return balance > 0 ? magnitude : balance < 0 ? -magnitude : 0;
}

}  // namespace lumorix
