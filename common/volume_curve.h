#pragma once
// The player's loudness curve: slider values 0..10000 become the platform's
// attenuation in hundredths of a decibel (-10000 silent .. 0 full volume).
#include <cstdint>

namespace lumorix {

inline constexpr int32_t kVolumeMax = 10000;
inline constexpr int32_t kBalanceMax = 10000;

int32_t ClampVolume(int32_t volume);    // 0..10000
int32_t ClampBalance(int32_t balance);  // -10000..10000

// With the logarithmic mapping: round(ln(v + 1) * 1085.73) - 10000.
int32_t VolumeToAttenuation(int32_t volume, bool logarithmic);
// With the logarithmic mapping the magnitude is round(ln(|b| + 1) * 1085.73), sign kept.
int32_t BalanceToAttenuation(int32_t balance, bool logarithmic);

}  // namespace lumorix
