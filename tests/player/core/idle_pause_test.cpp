// The desktop clip pauses while nobody can see it and runs on afterwards:
// real windows over the desktop, and the session and power notifications
// Windows would send, given to the player's own watcher window. The power
// notifications carry a pointer, so they are sent from inside the process.
// What Wine never reports (a full-screen Direct3D program, presentation mode,
// battery saver, a remote session, a foreground window on one of several
// monitors) comes from stand-in system answers; Energy Saver's effective power
// mode is posted to the watcher as the system's thread would.
#include <windows.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "common/settings_layout.h"
#include "player/core/visibility_watch.h"
#include "tests/player/core/player_fixture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

constexpr GUID kDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kPowerSource = {0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}};
constexpr GUID kBatterySaver = {0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};
constexpr int kPlaying = 3;
constexpr int kPaused = 2;
// Covers are checked on window events, and once a second besides.
constexpr milliseconds kCoverNoticed{1500};
constexpr milliseconds kNoticed{500};

// A plain top-level window of another kind than the player's.
class CoverWindow {
 public:
  explicit CoverWindow(int show, DWORD exStyle = 0) {
    window_ = CreateWindowExW(exStyle, L"STATIC", L"cover", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr, nullptr,
                              nullptr, nullptr);
    ShowWindow(window_, show);
  }
  // A borderless window of `className` over `rect`.
  CoverWindow(const RECT& rect, const wchar_t* className) {
    window_ = CreateWindowExW(0, className, L"cover", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
  }
  ~CoverWindow() { Close(); }
  CoverWindow(const CoverWindow&) = delete;
  CoverWindow& operator=(const CoverWindow&) = delete;
  void Close() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
  }
  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// The system's answers as a test sets them.
struct Answers {
  NotificationState state = NotificationState::AcceptsNotifications;
  PowerReading power;
  bool remote = false;
  // The one monitor a test display has.
  std::optional<ScreenRect> foreground = ScreenRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
};

class StandInSignals final : public SystemSignals {
 public:
  explicit StandInSignals(std::shared_ptr<const Answers> answers) : answers_(std::move(answers)) {}
  NotificationState UserNotificationState() override { return answers_->state; }
  std::optional<PowerReading> PowerStatus() override { return answers_->power; }
  bool RemoteSession() override { return answers_->remote; }
  std::optional<ScreenRect> ForegroundMonitor() override { return answers_->foreground; }

 private:
  std::shared_ptr<const Answers> answers_;
};

// A window class of the test's own under a shell surface's name.
class WindowClass {
 public:
  explicit WindowClass(const wchar_t* name) : name_(name) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
  }
  ~WindowClass() { UnregisterClassW(name_, GetModuleHandleW(nullptr)); }
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;

 private:
  const wchar_t* name_;
};

class IdlePauseTest : public PlayerTest {
 protected:
  // The long clip playing on the desktop, as after the start step.
  TLumorixMainForm& StartOnDesktop() {
    WritePlayList({"long.avi"});
    TLumorixMainForm& form = StartPlayer();
    form.TimerTimer();
    EXPECT_TRUE(form.DSVideoWindowEx2.DesktopMode());
    EXPECT_TRUE(PumpUntil([&] { return State() == kPlaying; }, milliseconds(5000)));
    return form;
  }

  int State() const { return player->FilterGraph()->State(); }
  bool Held() const { return State() == kPaused && player->IdleControl().Holding(); }
  bool WaitHeld(milliseconds limit = kNoticed) {
    return PumpUntil([&] { return Held(); }, limit);
  }
  bool WaitPlaying(milliseconds limit = kNoticed) {
    return PumpUntil([&] { return State() == kPlaying && !player->IdleControl().Holding(); }, limit);
  }
  // Playing still after the player had time to act.
  bool StaysPlaying(milliseconds time = kNoticed) {
    PumpFor(time);
    return State() == kPlaying && !player->IdleControl().Holding();
  }
  bool StaysPaused(milliseconds time = kNoticed) {
    PumpFor(time);
    return State() == kPaused;
  }

  HWND Watch() const { return player->IdleControl().Watch().Handle(); }
  void Session(WPARAM change) const { SendMessageW(Watch(), WM_WTSSESSION_CHANGE, change, 1); }
  void Power(const GUID& setting, DWORD value) const {
    struct {
      GUID setting;
      DWORD length;
      DWORD value;
    } broadcast{setting, sizeof(DWORD), value};
    SendMessageW(Watch(), WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&broadcast));
  }

  // The transport shows what the user chose: playing.
  void ExpectTransportShowsPlaying() const {
    EXPECT_TRUE(player->ItPause.Visible());
    EXPECT_FALSE(player->ItPlay.Visible());
  }
};

}  // namespace

TEST_F(IdlePauseTest, MaximisedWindowPausesTheDesktopClipAndClosingItResumes) {
  TLumorixMainForm& form = StartOnDesktop();
  int ticks = 0;
  form.TBPosition.OnTimer = [&ticks](uint32_t, uint32_t) { ++ticks; };
  CoverWindow part(SW_SHOWNORMAL);
  CoverWindow palette(SW_MAXIMIZE, WS_EX_TOOLWINDOW);
  CoverWindow overlay(SW_MAXIMIZE, WS_EX_LAYERED | WS_EX_TRANSPARENT);
  ASSERT_TRUE(IsZoomed(palette.Handle()) && IsZoomed(overlay.Handle()));
  EXPECT_TRUE(StaysPlaying(kCoverNoticed)) << "a part of the desktop, a tool window, a click-through overlay";

  CoverWindow cover(SW_MAXIMIZE);
  ASSERT_TRUE(IsZoomed(cover.Handle()));
  ASSERT_TRUE(WaitHeld(kCoverNoticed));
  ExpectTransportShowsPlaying();
  const std::wstring readOut = form.LTimeInd.Text();
  const int ticksHeld = ticks;
  PumpFor(milliseconds(1200));
  EXPECT_EQ(form.LTimeInd.Text(), readOut);
  EXPECT_EQ(ticks, ticksHeld) << "the seek bar stops asking the graph";

  cover.Close();
  ASSERT_TRUE(WaitPlaying(kCoverNoticed));
  EXPECT_TRUE(PumpUntil([&] { return form.LTimeInd.Text() != readOut; }, milliseconds(2500)));
  ExpectTransportShowsPlaying();
}

TEST_F(IdlePauseTest, HeldOnlyWhileEveryMonitorItShowsOnIsCoveredAndNeverByAShellSurface) {
  TLumorixMainForm& form = StartOnDesktop();
  // Two monitors side by side inside the one screen Wine has.
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const RECT left{0, 0, width / 2, height}, right{width / 2, 0, width, height};
  form.IdleControl().ShowsOn([left, right] { return std::vector<RECT>{left, right}; });
  const WindowClass taskView(L"MultitaskingViewFrame");
  const WindowClass coreWindow(L"Windows.UI.Core.CoreWindow");
  CoverWindow onLeft(left, L"STATIC");
  CoverWindow shellOnRight(right, L"MultitaskingViewFrame");
  EXPECT_TRUE(StaysPlaying(kCoverNoticed)) << "one monitor covered, the other under Task View";

  // A game a few pixels off its monitor, with the generic app-window class of another program than the shell's.
  CoverWindow onRight({right.left + 8, 0, right.right, right.bottom - 8}, L"Windows.UI.Core.CoreWindow");
  ASSERT_TRUE(WaitHeld(kCoverNoticed));
  onLeft.Close();
  ASSERT_TRUE(WaitPlaying(kCoverNoticed));
  form.IdleControl().ShowsOn(nullptr);  // the monitor of the desktop window: the whole screen
  EXPECT_TRUE(StaysPlaying(kCoverNoticed));
}

TEST_F(IdlePauseTest, FullScreenProgramBatterySaverAndRemoteSessionPauseAsTheSystemReports) {
  TLumorixMainForm& form = StartOnDesktop();
  IdlePauseControl& control = form.IdleControl();
  // Kept by the player's watch for as long as it lives.
  const auto shared = std::make_shared<Answers>();
  Answers& answers = *shared;
  answers.remote = true;
  control.Watch().UseSignals(std::make_unique<StandInSignals>(shared));
  ASSERT_TRUE(WaitHeld()) << "a remote session from the start";
  control.ItPauseWhenRemote.Click();
  ASSERT_TRUE(WaitPlaying());
  control.ItPauseWhenRemote.Click();
  ASSERT_TRUE(WaitHeld());
  answers.remote = false;
  Session(WTS_CONSOLE_CONNECT);  // back at the machine's own console
  ASSERT_TRUE(WaitPlaying());

  // No notification tells of these: the player asks while it watches for covers.
  for (NotificationState state : {NotificationState::RunningD3DFullScreen, NotificationState::PresentationMode}) {
    answers.state = state;
    ASSERT_TRUE(WaitHeld(kCoverNoticed));
    answers.state = NotificationState::Busy;
    ASSERT_TRUE(WaitPlaying(kCoverNoticed));
  }

  answers.power.systemStatusFlag = 1;
  SendMessageW(Watch(), WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, 0);
  ASSERT_TRUE(WaitHeld()) << "battery saver on mains";
  Power(kBatterySaver, 0);
  ASSERT_TRUE(WaitPlaying());
  Power(kBatterySaver, 1);
  ASSERT_TRUE(WaitHeld());
  Power(kBatterySaver, 0);
  ASSERT_TRUE(WaitPlaying());

  // Windows 11's Energy Saver, on mains, tells only through the effective power mode.
  PostMessageW(Watch(), VisibilityWatch::kEffectivePowerModeMessage, 0, 0);
  ASSERT_TRUE(WaitHeld()) << "Energy Saver";
  PostMessageW(Watch(), VisibilityWatch::kEffectivePowerModeMessage, 2, 0);  // balanced
  ASSERT_TRUE(WaitPlaying());
  PostMessageW(Watch(), VisibilityWatch::kEffectivePowerModeMessage, 0, 0);
  ASSERT_TRUE(WaitHeld());
  control.ItPauseOnBattery.Click();
  ASSERT_TRUE(WaitPlaying());
}

// The shell reports a full-screen program for the whole session; it hides
// the clip only where it is on every monitor the clip shows on.
TEST_F(IdlePauseTest, AFullScreenProgramOnOneMonitorPausesOnlyAClipOnThatMonitorAlone) {
  TLumorixMainForm& form = StartOnDesktop();
  IdlePauseControl& control = form.IdleControl();
  const auto shared = std::make_shared<Answers>();
  Answers& answers = *shared;
  control.Watch().UseSignals(std::make_unique<StandInSignals>(shared));
  // Two monitors side by side inside the one screen Wine has.
  const long width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const RECT left{0, 0, width / 2, height}, right{width / 2, 0, width, height};
  std::vector<RECT> shownOn{left, right};
  control.ShowsOn([&shownOn] { return shownOn; });
  answers.state = NotificationState::RunningD3DFullScreen;
  answers.foreground = ScreenRect{right.left, right.top, right.right, right.bottom};
  EXPECT_TRUE(StaysPlaying(kCoverNoticed)) << "the game is on one of the clip's two monitors";
  shownOn = {left};
  EXPECT_TRUE(StaysPlaying(kCoverNoticed)) << "the game is on the other monitor";
  shownOn = {right};
  ASSERT_TRUE(WaitHeld(kCoverNoticed)) << "the game is on the clip's only monitor";
  answers.foreground.reset();  // the game went, and nothing is in front
  ASSERT_TRUE(WaitPlaying(kCoverNoticed));
  control.ShowsOn(nullptr);
}

TEST_F(IdlePauseTest, LockDisplayOffAndBatteryPauseAndTheirEndResumes) {
  StartOnDesktop();
  Session(WTS_SESSION_LOCK);
  ASSERT_TRUE(WaitHeld());
  ExpectTransportShowsPlaying();
  Session(WTS_SESSION_UNLOCK);
  ASSERT_TRUE(WaitPlaying());

  Session(WTS_CONSOLE_DISCONNECT);  // another user took the console
  ASSERT_TRUE(WaitHeld());
  Session(WTS_CONSOLE_CONNECT);
  ASSERT_TRUE(WaitPlaying());

  Power(kDisplayState, 0);
  ASSERT_TRUE(WaitHeld());
  Power(kDisplayState, 2);  // dimmed is still seen
  ASSERT_TRUE(WaitPlaying());

  Power(kPowerSource, 1);
  ASSERT_TRUE(WaitHeld());
  Power(kPowerSource, 0);
  ASSERT_TRUE(WaitPlaying());
  ExpectTransportShowsPlaying();
}

TEST_F(IdlePauseTest, TheUsersPauseSurvivesEveryAutomaticResume) {
  TLumorixMainForm& form = StartOnDesktop();
  CoverWindow cover(SW_MAXIMIZE);
  ASSERT_TRUE(WaitHeld(kCoverNoticed));
  form.ItPause.Click();
  EXPECT_TRUE(form.ItPlay.Visible());
  cover.Close();
  EXPECT_TRUE(StaysPaused(kCoverNoticed));
  Session(WTS_SESSION_LOCK);
  Session(WTS_SESSION_UNLOCK);
  Power(kPowerSource, 1);
  Power(kPowerSource, 0);
  Power(kDisplayState, 0);
  Power(kDisplayState, 1);
  EXPECT_TRUE(StaysPaused());

  // Play while nobody sees the desktop: it waits for the desktop to show.
  Session(WTS_SESSION_LOCK);
  form.ItPlay.Click();
  EXPECT_TRUE(form.ItPause.Visible());
  ASSERT_TRUE(WaitHeld());
  Session(WTS_SESSION_UNLOCK);
  ASSERT_TRUE(WaitPlaying());

  // Stop while held stays stopped.
  Power(kPowerSource, 1);
  ASSERT_TRUE(WaitHeld());
  form.BtStopClick();
  Power(kPowerSource, 0);
  PumpFor(kNoticed);
  EXPECT_EQ(State(), 1);
}

TEST_F(IdlePauseTest, EachSwitchOffKeepsPlayingAndTurningOneOffWhilePausedResumes) {
  TLumorixMainForm& form = StartOnDesktop();
  IdlePauseControl& control = form.IdleControl();
  EXPECT_TRUE(control.ItPauseWhenCovered.Checked());
  EXPECT_TRUE(control.ItPauseOnBattery.Checked());
  EXPECT_TRUE(control.ItPauseWhenLocked.Checked());
  EXPECT_TRUE(control.ItPauseWhenRemote.Checked());

  Session(WTS_SESSION_LOCK);
  ASSERT_TRUE(WaitHeld());
  control.ItPauseWhenLocked.Click();
  EXPECT_FALSE(control.ItPauseWhenLocked.Checked());
  ASSERT_TRUE(WaitPlaying());
  Power(kDisplayState, 0);
  EXPECT_TRUE(StaysPlaying());
  Power(kDisplayState, 1);
  Session(WTS_SESSION_UNLOCK);

  control.ItPauseOnBattery.Click();
  Power(kPowerSource, 1);
  EXPECT_TRUE(StaysPlaying());
  Power(kPowerSource, 0);

  control.ItPauseWhenCovered.Click();
  CoverWindow cover(SW_MAXIMIZE);
  EXPECT_TRUE(StaysPlaying(kCoverNoticed));
  control.ItPauseWhenCovered.Click();  // on again, with the cover still up
  ASSERT_TRUE(WaitHeld(kCoverNoticed));
}

TEST_F(IdlePauseTest, ThePreviewAndScreenSaverModeAreNeverPaused) {
  WritePlayList({"long.avi"});
  TLumorixMainForm& form = StartPlayer();
  ASSERT_TRUE(PumpUntil([&] { return State() == kPlaying; }, milliseconds(5000)));
  Session(WTS_SESSION_LOCK);
  Power(kPowerSource, 1);
  EXPECT_TRUE(StaysPlaying()) << "the preview at start";

  form.TimerTimer();  // to the desktop, where the same reasons hold it
  ASSERT_TRUE(WaitHeld());
  form.RunSettings();
  ASSERT_TRUE(WaitPlaying()) << "the settings window's preview";
  form.Close();  // the close box: back to the desktop
  ASSERT_TRUE(WaitHeld());

  SendMessageW(form.Handle(), WM_SCREENSAVERCOMMAND, 0, 0);
  ASSERT_TRUE(form.DSVideoWindowEx2.FullScreenMode());
  EXPECT_TRUE(WaitPlaying()) << "screen-saver mode";
  EXPECT_TRUE(StaysPlaying());
  ScreenSaverMode = false;
  form.RunSettings();
}

TEST_F(IdlePauseTest, SwitchesAreKeptInTheSettingsKeyAndMissingOnesAreOn) {
  // The installer writes none of them: all on, and no error box.
  TLumorixMainForm& form = StartPlayer();
  EXPECT_TRUE(errors.Boxes().empty());
  EXPECT_TRUE(form.IdleControl().Switches().whenCovered);
  EXPECT_TRUE(form.IdleControl().Switches().onBattery);
  EXPECT_TRUE(form.IdleControl().Switches().whenLocked);
  EXPECT_TRUE(form.IdleControl().Switches().whenRemote);
  form.IdleControl().ItPauseOnBattery.Click();
  form.IdleControl().ItPauseWhenRemote.Click();
  form.ItExitClick();
  EXPECT_EQ(ReadIntegerSetting(kSettingsKey, kPauseWhenCovered), 1);
  EXPECT_EQ(ReadIntegerSetting(kSettingsKey, kPauseOnBattery), 0);
  EXPECT_EQ(ReadIntegerSetting(kSettingsKey, kPauseWhenLocked), 1);
  EXPECT_EQ(ReadIntegerSetting(kSettingsKey, kPauseWhenRemote), 0);
  player.reset();

  WriteSetting(kSettingsKey, kPauseWhenCovered, EncodeInteger(0));
  WriteSetting(kSettingsKey, kPauseWhenLocked, EncodeString("1"));  // mistyped: on, and no failure
  TLumorixMainForm& again = StartPlayer();
  EXPECT_TRUE(errors.Boxes().empty());
  EXPECT_FALSE(again.IdleControl().ItPauseWhenCovered.Checked());
  EXPECT_FALSE(again.IdleControl().ItPauseOnBattery.Checked());
  EXPECT_TRUE(again.IdleControl().ItPauseWhenLocked.Checked());
  EXPECT_FALSE(again.IdleControl().ItPauseWhenRemote.Checked());
  EXPECT_TRUE(again.Timer.Enabled()) << "the create step went through";
}
