#include "common/idle_signals.h"

namespace lumorix {

bool FullScreenProgramReported(NotificationState state) {
  return state == NotificationState::RunningD3DFullScreen || state == NotificationState::PresentationMode;
}

bool RunsOnBattery(std::uint8_t acLineStatus, std::uint8_t systemStatusFlag) {
  constexpr std::uint8_t kBatterySaver = 1;
  return acLineStatus == 0 || (systemStatusFlag & kBatterySaver) != 0;
}

}  // namespace lumorix
