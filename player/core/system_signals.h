#pragma once
// The system's answers the automatic pause asks for, besides the
// notifications it is sent. Behind an interface so that a test can give the
// answers Wine never gives: a full-screen Direct3D program, presentation
// mode, battery saver, a remote session, a foreground window on one of
// several monitors.
#include <cstdint>
#include <memory>
#include <optional>

#include "common/idle_signals.h"

namespace lumorix {

struct PowerReading {
  std::uint8_t acLineStatus = 1;      // 0 off line, 1 on line, 255 unknown
  std::uint8_t systemStatusFlag = 0;  // 1 battery saver on
};

class SystemSignals {
 public:
  virtual ~SystemSignals() = default;
  virtual NotificationState UserNotificationState() = 0;
  // Nothing when the status cannot be read.
  virtual std::optional<PowerReading> PowerStatus() = 0;
  virtual bool RemoteSession() = 0;
  // The monitor of the foreground window; none without one.
  virtual std::optional<ScreenRect> ForegroundMonitor() = 0;
};

// The answers of the running system.
std::unique_ptr<SystemSignals> WindowsSignals();

}  // namespace lumorix
