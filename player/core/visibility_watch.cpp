#include "player/core/visibility_watch.h"

#include <wtsapi32.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "common/idle_signals.h"
#include "common/shell_surfaces.h"
#include "platform/handle.h"
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

// GUID_CONSOLE_DISPLAY_STATE, GUID_ACDC_POWER_SOURCE and GUID_POWER_SAVING_STATUS.
constexpr GUID kDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kPowerSource = {0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}};
constexpr GUID kBatterySaver = {0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};

std::vector<VisibilityWatch*>& Watches() {
  static std::vector<VisibilityWatch*> watches;
  return watches;
}

ScreenRect FromRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// The file name of the program that owns `window`; empty when it cannot be read.
std::wstring ProgramOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  wchar_t path[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  if (!process || !QueryFullProcessImageNameW(process.Get(), 0, path, &length)) return {};
  const std::wstring_view full(path, length);
  const size_t slash = full.find_last_of(L"\\/");
  return std::wstring(slash == full.npos ? full : full.substr(slash + 1));
}

}  // namespace

VisibilityWatch::VisibilityWatch() : signals_(WindowsSignals()) {
  // Top level, never shown: power broadcasts reach only top-level windows.
  CreateOwn(kClassName, 0, WS_POPUP, WS_EX_TOOLWINDOW, nullptr, {});
  Watches().push_back(this);
  static const auto registerSession = platform::SystemFunction<decltype(&WTSRegisterSessionNotification)>(
      L"wtsapi32.dll", "WTSRegisterSessionNotification");
  sessionRegistered_ = registerSession && registerSession(Handle(), NOTIFY_FOR_THIS_SESSION) != FALSE;
  // Each registration reports the current state at once where Windows supports it.
  displayNotify_.reset(RegisterPowerSettingNotification(Handle(), &kDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE));
  sourceNotify_.reset(RegisterPowerSettingNotification(Handle(), &kPowerSource, DEVICE_NOTIFY_WINDOW_HANDLE));
  // Windows 10 and later; earlier systems refuse it and have no battery saver.
  saverNotify_.reset(RegisterPowerSettingNotification(Handle(), &kBatterySaver, DEVICE_NOTIFY_WINDOW_HANDLE));
  ReadPowerStatus();
  WatchEffectivePowerMode();
  Update(&SystemSight::remoteSession, signals_->RemoteSession());
  // From the system folder only: never a dwmapi.dll planted beside the program.
  dwm_.reset(LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (dwm_)
    readDwmAttribute_ = reinterpret_cast<DwmAttributeReader>(
        reinterpret_cast<void*>(GetProcAddress(dwm_.get(), "DwmGetWindowAttribute")));
}

VisibilityWatch::~VisibilityWatch() {
  hooks_.clear();
  if (powerModeRegistration_ && unregisterPowerMode_) (void)unregisterPowerMode_(powerModeRegistration_);
  static const auto unregisterSession = platform::SystemFunction<decltype(&WTSUnRegisterSessionNotification)>(
      L"wtsapi32.dll", "WTSUnRegisterSessionNotification");
  if (sessionRegistered_ && unregisterSession) unregisterSession(Handle());
  auto& watches = Watches();
  watches.erase(std::remove(watches.begin(), watches.end(), this), watches.end());
  DestroyHandle();
}

void VisibilityWatch::WatchEffectivePowerMode() {
  // Windows 10 1809 and later; looked up, so that older systems still start.
  using Register = HRESULT(WINAPI*)(ULONG version, PowerModeCallback callback, void* context, void** registration);
  constexpr ULONG kEffectivePowerModeV2 = 2;
  static const auto registerPowerMode =
      platform::SystemFunction<Register>(L"powrprof.dll", "PowerRegisterForEffectivePowerModeNotifications");
  static const auto unregisterPowerMode = platform::SystemFunction<PowerModeUnregister>(
      L"powrprof.dll", "PowerUnregisterFromEffectivePowerModeNotifications");
  if (!registerPowerMode || !unregisterPowerMode) return;
  // The window's handle, not this object, goes to the system's thread: a late
  // report after the watch has gone is posted to nobody.
  void* registration = nullptr;
  if (FAILED(registerPowerMode(kEffectivePowerModeV2, EffectivePowerModeChanged, Handle(), &registration))) return;
  powerModeRegistration_ = registration;
  unregisterPowerMode_ = unregisterPowerMode;
}

void CALLBACK VisibilityWatch::EffectivePowerModeChanged(int mode, void* context) {
  PostMessageW(static_cast<HWND>(context), kEffectivePowerModeMessage, static_cast<WPARAM>(mode), 0);
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

void VisibilityWatch::UseSignals(std::unique_ptr<SystemSignals> signals) {
  signals_ = std::move(signals);
  ReadPowerStatus();
  Update(&SystemSight::remoteSession, signals_->RemoteSession());
  if (desktopWindow_) CheckCovers();
}

void VisibilityWatch::ShowsOn(ClipMonitors monitors) {
  monitors_ = std::move(monitors);
  if (desktopWindow_) CheckCovers();
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
    Update(&SystemSight::fullScreenProgram, false);
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
  // loaded into other programs. The player's own windows are left to the
  // check a second: they are seldom what covers the desktop.
  const std::pair<DWORD, DWORD> ranges[] = {
      {EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
      {EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND},
      {EVENT_OBJECT_DESTROY, EVENT_OBJECT_HIDE},  // destroy, show, hide
      {EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE},
  };
  for (const auto& [first, last] : ranges) {
    HWINEVENTHOOK hook =
        SetWinEventHook(first, last, nullptr, WindowEvent, 0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (hook) hooks_.emplace_back(hook);
  }
}

void CALLBACK VisibilityWatch::WindowEvent(HWINEVENTHOOK hook, DWORD, HWND window, LONG object, LONG child, DWORD,
                                           DWORD) {
  // The pointer and the caret report every move as a location change: those
  // must cost nothing, so they are dropped before anything else is asked.
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
  HWND host;
  std::function<bool(HWND)> cloaked;
  std::vector<HWND> handles;
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
  facts.toolWindow = (exStyle & WS_EX_TOOLWINDOW) != 0;
  facts.clickThrough = (exStyle & WS_EX_LAYERED) && (exStyle & WS_EX_TRANSPARENT);
  facts.desktopHost = window == walk.host || GetAncestor(window, GA_ROOTOWNER) == walk.host;
  facts.cloaked = walk.cloaked(window);
  walk.handles.push_back(window);
  walk.windows.push_back(facts);
  return TRUE;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

bool IsShellWindow(HWND window) {
  return window == GetShellWindow() || IsShellSurface(ClassOf(window), ProgramOf(window));
}

// With a clip on several monitors each has a host window of the same class,
// and none of them hides the clip.
bool IsOwnHost(HWND window, const std::wstring& hostClass) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return !hostClass.empty() && processId == GetCurrentProcessId() &&
         ClassOf(GetAncestor(window, GA_ROOTOWNER)) == hostClass;
}

}  // namespace

std::vector<MonitorArea> VisibilityWatch::WatchedAreas() const {
  std::vector<RECT> shown = monitors_ ? monitors_() : std::vector<RECT>{};
  if (shown.empty()) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(desktopWindow_, MONITOR_DEFAULTTONEAREST), &info)) return {};
    shown.push_back(info.rcMonitor);
  }
  std::vector<MonitorArea> areas;
  for (const RECT& rect : shown) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    const ScreenRect monitor = FromRect(rect);
    // The taskbar's part of the monitor is not the clip's to show.
    const bool known = GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info) != FALSE;
    areas.push_back({monitor, known ? Intersection(monitor, FromRect(info.rcWork)) : monitor});
  }
  return areas;
}

std::vector<TopWindowFacts> VisibilityWatch::TopWindows(const std::vector<MonitorArea>& areas) const {
  TopWindowWalk walk{GetAncestor(desktopWindow_, GA_ROOT), [this](HWND window) { return Cloaked(window); }, {}, {}};
  EnumWindows(AddTopWindow, reinterpret_cast<LPARAM>(&walk));
  DWORD hostProcess = 0;
  GetWindowThreadProcessId(walk.host, &hostProcess);
  const std::wstring hostClass = hostProcess == GetCurrentProcessId() ? ClassOf(walk.host) : std::wstring();
  // Class and program are asked only of the windows that would cover.
  for (size_t i = 0; i < walk.windows.size(); ++i) {
    TopWindowFacts& facts = walk.windows[i];
    const bool wouldCover = std::any_of(areas.begin(), areas.end(),
                                        [&facts](const MonitorArea& area) { return CoversMonitor(facts, area); });
    if (!wouldCover) continue;
    facts.desktopHost = IsOwnHost(walk.handles[i], hostClass);
    facts.shell = !facts.desktopHost && IsShellWindow(walk.handles[i]);
  }
  return std::move(walk.windows);
}

void VisibilityWatch::CheckCovers() {
  checkPending_ = false;
  KillTimer(Handle(), kEventTimer);
  if (!desktopWindow_ || !IsWindow(desktopWindow_)) {
    Update(&SystemSight::fullScreenProgram, false);
    return Update(&SystemSight::covered, false);
  }
  const std::vector<MonitorArea> areas = WatchedAreas();
  // No notification reports this state: asked whenever the covers are. It
  // holds for the whole session; the foreground window tells which monitor.
  std::vector<ScreenRect> clipMonitors;
  for (const MonitorArea& area : areas) clipMonitors.push_back(area.monitor);
  Update(&SystemSight::fullScreenProgram,
         FullScreenProgramHides(signals_->UserNotificationState(), signals_->ForegroundMonitor(), clipMonitors));
  Update(&SystemSight::covered, AllCovered(TopWindows(areas), areas));
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
    case WTS_SESSION_REMOTE_CONTROL:
      break;
    default:
      return;
  }
  Update(&SystemSight::sessionAway, locked_ || disconnected_);
  // A session moves between the console and a remote client only on these.
  Update(&SystemSight::remoteSession, signals_->RemoteSession());
}

void VisibilityWatch::UpdateBattery() {
  Update(&SystemSight::onBattery, RunsOnBattery({power_.acLineStatus, power_.systemStatusFlag, effectivePowerMode_}));
}

void VisibilityWatch::ReadPowerStatus() {
  if (const auto reading = signals_->PowerStatus()) power_ = *reading;
  UpdateBattery();
}

void VisibilityWatch::PowerChanged(WPARAM event, LPARAM data) {
  if (event == PBT_APMPOWERSTATUSCHANGE) return ReadPowerStatus();
  if (event != PBT_POWERSETTINGCHANGE || !data) return;
  const auto& setting = *reinterpret_cast<const POWERBROADCAST_SETTING*>(data);
  if (setting.DataLength < sizeof(DWORD)) return;
  DWORD value = 0;
  std::memcpy(&value, setting.Data, sizeof value);
  if (IsEqualGUID(setting.PowerSetting, kDisplayState))
    return Update(&SystemSight::displayOff, value == 0);  // 1 on, 2 dimmed: still seen
  if (IsEqualGUID(setting.PowerSetting, kPowerSource))
    power_.acLineStatus = value == 0 ? 1 : 0;  // 1 battery, 2 a short-term source such as a UPS
  else if (IsEqualGUID(setting.PowerSetting, kBatterySaver))
    power_.systemStatusFlag = value != 0 ? 1 : 0;
  else
    return;
  UpdateBattery();
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
    case WM_DISPLAYCHANGE:  // monitors came, went or changed their size
      CheckSoon();
      result = 0;
      return true;
    case WM_TIMER:
      if (wParam != kSafetyTimer && wParam != kEventTimer) return false;
      CheckCovers();
      result = 0;
      return true;
    case kEffectivePowerModeMessage:
      effectivePowerMode_ = static_cast<int>(wParam);
      UpdateBattery();
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
