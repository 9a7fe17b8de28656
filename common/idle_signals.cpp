#include "common/idle_signals.h"

#include <algorithm>

namespace lumorix {

bool FullScreenProgramReported(NotificationState state) {
  return state == NotificationState::RunningD3DFullScreen || state == NotificationState::PresentationMode;
}

bool FullScreenProgramHides(NotificationState state, const std::optional<ScreenRect>& foregroundMonitor,
                            const std::vector<ScreenRect>& clipMonitors) {
  if (!FullScreenProgramReported(state) || !foregroundMonitor || foregroundMonitor->Empty()) return false;
  return !clipMonitors.empty() && std::all_of(clipMonitors.begin(), clipMonitors.end(), [&](const ScreenRect& shown) {
    return foregroundMonitor->Contains(shown);
  });
}

bool RunsOnBattery(const PowerFacts& power) {
  constexpr std::uint8_t kBatterySaver = 1;
  return power.acLineStatus == 0 || (power.systemStatusFlag & kBatterySaver) != 0 ||
         power.effectivePowerMode == kEffectivePowerModeBatterySaver;
}

}  // namespace lumorix
