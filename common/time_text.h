#pragma once
#include <cstdint>
#include <string>

namespace lumorix {

// Hours, minutes and seconds, each at least two digits: 95 -> "00:01:35".
std::string SecToTime(int32_t seconds);

}  // namespace lumorix
