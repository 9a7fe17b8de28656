#include "time_text.h"

#include "format.h"

namespace lumorix {

std::string SecToTime(int32_t seconds) {
  return Format("%2.2d:%2.2d:%2.2d", seconds / 3600, (seconds % 3600) / 60, seconds % 60);
}

}  // namespace lumorix
