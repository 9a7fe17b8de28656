#pragma once
// What the system's own reports mean for the automatic pause. The values are
// those the Windows calls return; the calls themselves stay in the player.
#include <cstdint>

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

// SYSTEM_POWER_STATUS: ACLineStatus 0 is off line (1 on line, 255 unknown
// count as mains); SystemStatusFlag 1 is battery saver, which asks programs
// to save power as they would on battery.
bool RunsOnBattery(std::uint8_t acLineStatus, std::uint8_t systemStatusFlag);

}  // namespace lumorix
