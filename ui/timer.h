#pragma once
// A window timer of the GUI thread with an interval, an enabled state and an event.
#include <windows.h>

#include <functional>

namespace lumorix::ui {

class Timer {
 public:
  explicit Timer(UINT interval = 1000);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Enabling a running timer does not restart it.
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  // A new interval restarts a running timer.
  void SetInterval(UINT interval);
  UINT Interval() const { return interval_; }

  std::function<void()> OnTimer;

 private:
  static LRESULT CALLBACK SinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static HWND Sink();
  void Arm();

  UINT interval_;
  bool enabled_ = false;
  UINT_PTR id_;
};

}  // namespace lumorix::ui
