#pragma once
// What the system's own reports mean for the automatic pause. The values are
// those the Windows calls return; the calls themselves stay in the player.
#include <cstdint>
#include <optional>
#include <vector>

#include "common/cover_rule.h"

namespace lumorix {

// QUERY_USER_NOTIFICATION_STATE, as SHQueryUserNotificationState reports it.
enum class NotificationState : int {
  Unknown = 0,  // the call failed or is missing
  NotPresent = 1,
  Busy = 2,
  RunningD3DFullScreen = 3,
  PresentationMode = 4,
  AcceptsNotifications = 5,
  QuietTime = 6,
  App = 7,
};

// A full-screen Direct3D program (exclusive mode, often no window worth
// measuring) or presentation mode: nobody looks at the desktop behind it.
bool FullScreenProgramReported(NotificationState state);

// The report answers for the whole session; the program is on the monitor of
// the foreground window. It hides the clip only when that monitor is every
// monitor the clip shows on: a game on one monitor leaves a clip on the
// other in sight. No foreground monitor known: nothing is taken as hidden.
bool FullScreenProgramHides(NotificationState state, const std::optional<ScreenRect>& foregroundMonitor,
                            const std::vector<ScreenRect>& clipMonitors);

// EFFECTIVE_POWER_MODE (Windows 10 1809 and later). Windows 11's Energy
// Saver reports its saving mode with the battery saver's value.
inline constexpr int kEffectivePowerModeBatterySaver = 0;

struct PowerFacts {
  // SYSTEM_POWER_STATUS: ACLineStatus 0 is off line (1 on line, 255 unknown
  // count as mains); SystemStatusFlag 1 is battery saver.
  std::uint8_t acLineStatus = 1;
  std::uint8_t systemStatusFlag = 0;
  // None where the system does not report it.
  std::optional<int> effectivePowerMode;
};

// On battery, or asked to save power as on battery (battery saver, Energy Saver).
bool RunsOnBattery(const PowerFacts& power);

}  // namespace lumorix
