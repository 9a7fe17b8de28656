#include "player/core/visibility_watch.h"

#include <wtsapi32.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/system_library.h"

namespace lumorix {

namespace {

constexpr UINT kSettleMessage = WM_APP + 40;
constexpr UINT_PTR kSafetyTimer = 1;
constexpr UINT_PTR kEventTimer = 2;
constexpr UINT kSafetyInterval = 1000;
// Window events come in bursts (a drag reports every step): one check after the burst.
constexpr UINT kEventDelay = 100;
constexpr DWORD kCloakedAttribute = 14;  // DWMWA_CLOAKED

// GUID_CONSOLE_DISPLAY_STATE and GUID_ACDC_POWER_SOURCE.
constexpr GUID kDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kPowerSource = {0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}};

std::vector<VisibilityWatch*>& Watches() {
  static std::vector<VisibilityWatch*> watches;
  return watches;
}

ScreenRect FromRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

bool IsShellWindow(HWND window) {
  if (window == GetShellWindow()) return true;
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  for (const wchar_t* shell : {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"})
    if (std::wcscmp(className, shell) == 0) return true;
  return false;
}

}  // namespace

VisibilityWatch::VisibilityWatch() {
  // Top level, never shown: power broadcasts reach only top-level windows.
  CreateOwn(kClassName, 0, WS_POPUP, WS_EX_TOOLWINDOW, nullptr, {});
  Watches().push_back(this);
  static const auto registerSession = platform::SystemFunction<decltype(&WTSRegisterSessionNotification)>(
      L"wtsapi32.dll", "WTSRegisterSessionNotification");
  sessionRegistered_ = registerSession && registerSession(Handle(), NOTIFY_FOR_THIS_SESSION) != FALSE;
  // Each registration reports the current state at once where Windows supports it.
  displayNotify_.reset(RegisterPowerSettingNotification(Handle(), &kDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE));
  sourceNotify_.reset(RegisterPowerSettingNotification(Handle(), &kPowerSource, DEVICE_NOTIFY_WINDOW_HANDLE));
  ReadPowerStatus();
  // From the system folder only: never a dwmapi.dll planted beside the program.
  dwm_.reset(LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (dwm_)
    readDwmAttribute_ = reinterpret_cast<DwmAttributeReader>(
        reinterpret_cast<void*>(GetProcAddress(dwm_.get(), "DwmGetWindowAttribute")));
}

VisibilityWatch::~VisibilityWatch() {
  hooks_.clear();
  static const auto unregisterSession = platform::SystemFunction<decltype(&WTSUnRegisterSessionNotification)>(
      L"wtsapi32.dll", "WTSUnRegisterSessionNotification");
  if (sessionRegistered_ && unregisterSession) unregisterSession(Handle());
  auto& watches = Watches();
  watches.erase(std::remove(watches.begin(), watches.end(), this), watches.end());
  DestroyHandle();
}

void VisibilityWatch::RequestSettle() {
  if (settlePending_) return;
  settlePending_ = PostMessageW(Handle(), kSettleMessage, 0, 0) != FALSE;
}

void VisibilityWatch::Update(bool SystemSight::*fact, bool value) {
  if (sight_.*fact == value) return;
  sight_.*fact = value;
  RequestSettle();
}

void VisibilityWatch::WatchCovers(HWND desktopWindow) {
  const bool was = desktopWindow_ != nullptr;
  desktopWindow_ = desktopWindow;
  if (!desktopWindow_) {
    if (was) {
      SetHooks(false);
      KillTimer(Handle(), kSafetyTimer);
      KillTimer(Handle(), kEventTimer);
      checkPending_ = false;
    }
    Update(&SystemSight::covered, false);
    return;
  }
  if (!was) {
    SetHooks(true);
    SetTimer(Handle(), kSafetyTimer, kSafetyInterval, nullptr);
  }
  CheckCovers();
}

void VisibilityWatch::SetHooks(bool on) {
  hooks_.clear();
  if (!on) return;
  // Out of context: the events come to this thread's message loop, nothing is
  // loaded into other programs.
  const std::pair<DWORD, DWORD> ranges[] = {
      {EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
      {EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND},
      {EVENT_OBJECT_DESTROY, EVENT_OBJECT_HIDE},  // destroy, show, hide
      {EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE},
  };
  for (const auto& [first, last] : ranges) {
    HWINEVENTHOOK hook = SetWinEventHook(first, last, nullptr, WindowEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    if (hook) hooks_.emplace_back(hook);
  }
}

void CALLBACK VisibilityWatch::WindowEvent(HWINEVENTHOOK hook, DWORD, HWND window, LONG object, LONG child, DWORD,
                                           DWORD) {
  // The pointer and the caret report their moves too: only whole top-level windows matter.
  if (object != OBJID_WINDOW || child != CHILDID_SELF || !window) return;
  for (VisibilityWatch* watch : Watches()) {
    bool ours = std::any_of(watch->hooks_.begin(), watch->hooks_.end(),
                            [hook](const UniqueHook& own) { return own.get() == hook; });
    if (!ours) continue;
    // A destroyed window has no ancestor left to ask about.
    HWND root = GetAncestor(window, GA_ROOT);
    if (root && root != window) continue;
    watch->CheckSoon();
  }
}

void VisibilityWatch::CheckSoon() {
  if (checkPending_ || !desktopWindow_) return;
  checkPending_ = SetTimer(Handle(), kEventTimer, kEventDelay, nullptr) != 0;
}

bool VisibilityWatch::Cloaked(HWND window) const {
  DWORD cloaked = 0;
  // Where the call fails (no window manager, Wine) the window is taken as shown.
  return readDwmAttribute_ && SUCCEEDED(readDwmAttribute_(window, kCloakedAttribute, &cloaked, sizeof cloaked)) &&
         cloaked != 0;
}

namespace {

struct TopWindowWalk {
  HMONITOR monitor;
  HWND host;
  std::function<bool(HWND)> cloaked;
  std::vector<TopWindowFacts> windows;
};

BOOL CALLBACK AddTopWindow(HWND window, LPARAM data) {
  auto& walk = *reinterpret_cast<TopWindowWalk*>(data);
  if (!IsWindowVisible(window)) return TRUE;  // most windows: nothing more to ask
  TopWindowFacts facts;
  RECT rect{};
  GetWindowRect(window, &rect);
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  facts.rect = FromRect(rect);
  facts.visible = true;
  facts.minimised = IsIconic(window) != FALSE;
  facts.maximised = IsZoomed(window) != FALSE;
  facts.onMonitor = MonitorFromWindow(window, MONITOR_DEFAULTTONULL) == walk.monitor;
  facts.toolWindow = (exStyle & WS_EX_TOOLWINDOW) != 0;
  facts.clickThrough = (exStyle & WS_EX_LAYERED) && (exStyle & WS_EX_TRANSPARENT);
  facts.desktopHost = window == walk.host || GetAncestor(window, GA_ROOTOWNER) == walk.host;
  facts.shell = IsShellWindow(window);
  facts.cloaked = walk.cloaked(window);
  walk.windows.push_back(facts);
  return TRUE;
}

}  // namespace

std::vector<TopWindowFacts> VisibilityWatch::TopWindows(HMONITOR monitor) const {
  TopWindowWalk walk{
      monitor, GetAncestor(desktopWindow_, GA_ROOT), [this](HWND window) { return Cloaked(window); }, {}};
  EnumWindows(AddTopWindow, reinterpret_cast<LPARAM>(&walk));
  return std::move(walk.windows);
}

void VisibilityWatch::CheckCovers() {
  checkPending_ = false;
  KillTimer(Handle(), kEventTimer);
  if (!desktopWindow_ || !IsWindow(desktopWindow_)) return Update(&SystemSight::covered, false);
  HMONITOR monitor = MonitorFromWindow(desktopWindow_, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return Update(&SystemSight::covered, false);
  const MonitorArea area{FromRect(info.rcMonitor), FromRect(info.rcWork)};
  Update(&SystemSight::covered, AnyCovers(TopWindows(monitor), area));
}

void VisibilityWatch::SessionChanged(WPARAM change) {
  switch (change) {
    case WTS_SESSION_LOCK:
      locked_ = true;
      break;
    case WTS_SESSION_UNLOCK:
      locked_ = false;
      break;
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT:
      disconnected_ = true;
      break;
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT:
      disconnected_ = false;
      break;
    default:
      return;
  }
  Update(&SystemSight::sessionAway, locked_ || disconnected_);
}

void VisibilityWatch::ReadPowerStatus() {
  SYSTEM_POWER_STATUS status{};
  // 0 is off line; 1 on line and 255 unknown count as mains.
  if (GetSystemPowerStatus(&status)) Update(&SystemSight::onBattery, status.ACLineStatus == 0);
}

void VisibilityWatch::PowerChanged(WPARAM event, LPARAM data) {
  if (event == PBT_APMPOWERSTATUSCHANGE) return ReadPowerStatus();
  if (event != PBT_POWERSETTINGCHANGE || !data) return;
  const auto& setting = *reinterpret_cast<const POWERBROADCAST_SETTING*>(data);
  if (setting.DataLength < sizeof(DWORD)) return;
  DWORD value = 0;
  std::memcpy(&value, setting.Data, sizeof value);
  if (IsEqualGUID(setting.PowerSetting, kDisplayState))
    Update(&SystemSight::displayOff, value == 0);  // 1 on, 2 dimmed: still seen
  else if (IsEqualGUID(setting.PowerSetting, kPowerSource))
    Update(&SystemSight::onBattery, value != 0);  // 1 battery, 2 a short-term source such as a UPS
}

bool VisibilityWatch::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_WTSSESSION_CHANGE:
      SessionChanged(wParam);
      result = 0;
      return true;
    case WM_POWERBROADCAST:
      PowerChanged(wParam, lParam);
      result = TRUE;
      return true;
    case WM_TIMER:
      if (wParam != kSafetyTimer && wParam != kEventTimer) return false;
      CheckCovers();
      result = 0;
      return true;
    case kSettleMessage:
      settlePending_ = false;
      if (OnSettle) OnSettle();
      result = 0;
      return true;
    default:
      return ui::Window::OnMessage(message, wParam, lParam, result);
  }
}

}  // namespace lumorix
