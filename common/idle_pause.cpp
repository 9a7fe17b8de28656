#include "common/idle_pause.h"

namespace lumorix {

bool IdlePause::ReasonToPause() const {
  // The preview and the screen saver are watched by someone by definition.
  if (!sight_.desktopPlayback || sight_.screenSaverMode || sight_.previewShown) return false;
  return (switches_.whenCovered && (sight_.covered || sight_.fullScreenProgram)) ||
         (switches_.whenLocked && (sight_.sessionAway || sight_.displayOff)) ||
         (switches_.onBattery && sight_.onBattery) || (switches_.whenRemote && sight_.remoteSession);
}

IdleAction IdlePause::Settle() {
  const bool reason = ReasonToPause();
  if (running_ && reason && !holding_) {
    holding_ = true;
    return IdleAction::Pause;
  }
  if (holding_ && !reason) {
    holding_ = false;
    return IdleAction::Resume;
  }
  return IdleAction::None;
}

IdleAction IdlePause::ClipRunning() {
  running_ = true;
  holding_ = false;  // the graph runs again, whatever this rule had done to it
  return Settle();
}

IdleAction IdlePause::ClipHalted() {
  running_ = false;
  holding_ = false;
  return IdleAction::None;
}

IdleAction IdlePause::SetSight(const IdleSight& sight) {
  sight_ = sight;
  return Settle();
}

IdleAction IdlePause::SetSwitches(const IdleSwitches& switches) {
  switches_ = switches;
  return Settle();
}

}  // namespace lumorix
