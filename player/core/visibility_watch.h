#pragma once
// What Windows says about whether anyone can see the desktop: windows that
// cover every monitor the desktop playback shows on, a full-screen program
// or presentation mode, a locked or switched-away session, a remote session,
// a display that is off, and battery power, battery saver or Energy Saver.
// Session and power changes arrive as notifications; covering windows are noticed
// through window events, and checked once a second besides while they are
// watched (some windows move without an event reaching us), when the shell's
// notification state is asked too. Every report is passed on from the
// message loop, never from inside a message sent to us.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "common/cover_rule.h"
#include "player/core/system_signals.h"
#include "ui/window.h"

namespace lumorix {

struct SystemSight {
  bool covered = false;
  bool fullScreenProgram = false;
  bool sessionAway = false;
  bool displayOff = false;
  bool onBattery = false;
  bool remoteSession = false;
};

// The screen rectangles (physical pixels) of the monitors the clip shows on.
using ClipMonitors = std::function<std::vector<RECT>()>;

class VisibilityWatch : public ui::Window {
 public:
  static constexpr const wchar_t* kClassName = L"LumorixVisibilityWatch";
  // Posted with the effective power mode in wParam, from the system's thread
  // that reports it (Windows 10 1809 and later).
  static constexpr UINT kEffectivePowerModeMessage = WM_APP + 41;

  VisibilityWatch();
  ~VisibilityWatch() override;

  // Watches for windows that cover the monitors of the desktop playback;
  // `desktopWindow` is a window of it (it, its host and their owned windows
  // never count). Null stops watching and forgets any cover. Checks at once.
  void WatchCovers(HWND desktopWindow);
  bool WatchingCovers() const { return desktopWindow_ != nullptr; }
  // Where the clip shows; asked at every check. Without one (or when it
  // gives nothing) the monitor of the desktop window is watched.
  void ShowsOn(ClipMonitors monitors);
  // Asks `signals` from now on and reads every answer again at once.
  void UseSignals(std::unique_ptr<SystemSignals> signals);
  const SystemSight& Sight() const { return sight_; }

  // Asks for OnSettle from the message loop (once, however often asked before it runs).
  void RequestSettle();
  // Something may have changed; runs from the message loop.
  std::function<void()> OnSettle;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  static void CALLBACK WindowEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                                   DWORD time);
  void SetHooks(bool on);
  void CheckSoon();
  void CheckCovers();
  std::vector<MonitorArea> WatchedAreas() const;
  std::vector<TopWindowFacts> TopWindows(const std::vector<MonitorArea>& areas) const;
  bool Cloaked(HWND window) const;
  void SessionChanged(WPARAM change);
  void PowerChanged(WPARAM event, LPARAM data);
  void ReadPowerStatus();
  void Update(bool SystemSight::*fact, bool value);
  void UpdateBattery();
  void WatchEffectivePowerMode();
  static void CALLBACK EffectivePowerModeChanged(int mode, void* context);

  struct HookRelease {
    void operator()(HWINEVENTHOOK hook) const { UnhookWinEvent(hook); }
  };
  struct PowerRelease {
    void operator()(HPOWERNOTIFY notify) const { UnregisterPowerSettingNotification(notify); }
  };
  struct LibraryRelease {
    void operator()(HMODULE module) const { FreeLibrary(module); }
  };
  using UniqueHook = std::unique_ptr<std::remove_pointer_t<HWINEVENTHOOK>, HookRelease>;
  using UniquePowerNotify = std::unique_ptr<std::remove_pointer_t<HPOWERNOTIFY>, PowerRelease>;
  using UniqueLibrary = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryRelease>;
  using PowerModeCallback = void(CALLBACK*)(int mode, void* context);
  using PowerModeUnregister = HRESULT(WINAPI*)(void* registration);
  using DwmAttributeReader = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

  SystemSight sight_;
  std::unique_ptr<SystemSignals> signals_;
  ClipMonitors monitors_;
  bool locked_ = false;
  bool disconnected_ = false;
  PowerReading power_;
  std::optional<int> effectivePowerMode_;
  void* powerModeRegistration_ = nullptr;
  PowerModeUnregister unregisterPowerMode_ = nullptr;
  HWND desktopWindow_ = nullptr;
  std::vector<UniqueHook> hooks_;
  bool checkPending_ = false;
  bool settlePending_ = false;
  bool sessionRegistered_ = false;
  UniquePowerNotify displayNotify_;
  UniquePowerNotify sourceNotify_;
  UniquePowerNotify saverNotify_;
  // Windows 8 and later hide windows by cloaking them; older systems and Wine lack it.
  UniqueLibrary dwm_;
  DwmAttributeReader readDwmAttribute_ = nullptr;
};

}  // namespace lumorix
