#include "ui/timer.h"

#include <map>

#include "ui/application.h"
#include "ui/exception.h"

namespace lumorix::ui {

namespace {
std::map<UINT_PTR, Timer*>& Timers() {
  static std::map<UINT_PTR, Timer*> timers;
  return timers;
}
}  // namespace

HWND Timer::Sink() {
  static HWND sink = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = SinkProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LumorixTimerSink";
    RegisterClassExW(&windowClass);
    return CreateWindowExW(0, L"LumorixTimerSink", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
  }();
  return sink;
}

LRESULT CALLBACK Timer::SinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_TIMER) return DefWindowProcW(hwnd, message, wParam, lParam);
  auto found = Timers().find(wParam);
  if (found == Timers().end() || !found->second->OnTimer) return 0;
  try {
    found->second->OnTimer();
  } catch (const std::exception& failure) {
    Application::Instance().HandleException(failure);
  }
  return 0;
}

Timer::Timer(UINT interval) : interval_(interval) {
  static UINT_PTR next = 1;
  id_ = next++;
  Timers()[id_] = this;
}

Timer::~Timer() {
  KillTimer(Sink(), id_);
  Timers().erase(id_);
}

void Timer::Arm() {
  KillTimer(Sink(), id_);
  if (enabled_ && interval_ != 0 && !SetTimer(Sink(), id_, interval_, nullptr))
    throw EOutOfResources("Not enough timers available");
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Arm();
}

void Timer::SetInterval(UINT interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Arm();
}

}  // namespace lumorix::ui
