#pragma once
// One player per session: a second start hands over to the running one
// instead of touching the desktop under it.
#include <chrono>

#include "platform/handle.h"

namespace lumorix {

class SingleInstance {
 public:
  // Claims this session's player place; Held() tells whether it was free.
  SingleInstance();
  bool Held() const { return held_; }

 private:
  UniqueHandle mutex_;
  bool held_ = false;
};

// Asks the running player to show its settings window, waiting up to
// `timeout` for its window to exist (it may still be starting). False when
// no player window answered.
bool ShowRunningPlayerSettings(std::chrono::milliseconds timeout);

}  // namespace lumorix
