// The rule that holds a desktop clip paused while nobody sees it, and the
// rule that says which window hides the desktop.
#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/cover_rule.h"
#include "common/idle_pause.h"
#include "common/idle_signals.h"
#include "common/shell_surfaces.h"

using namespace lumorix;

namespace {

IdleSight OnDesktop() {
  IdleSight sight;
  sight.desktopPlayback = true;
  return sight;
}

IdleSight Covered() {
  IdleSight sight = OnDesktop();
  sight.covered = true;
  return sight;
}

// A clip playing on the desktop, nothing in the way.
IdlePause PlayingOnDesktop() {
  IdlePause rule;
  EXPECT_EQ(rule.SetSight(OnDesktop()), IdleAction::None);
  EXPECT_EQ(rule.ClipRunning(), IdleAction::None);
  return rule;
}

}  // namespace

TEST(IdlePause, EachReasonPausesAndItsEndResumes) {
  IdleSight covered = Covered();
  IdleSight locked = OnDesktop();
  locked.sessionAway = true;
  IdleSight dark = OnDesktop();
  dark.displayOff = true;
  IdleSight battery = OnDesktop();
  battery.onBattery = true;
  IdleSight fullScreen = OnDesktop();
  fullScreen.fullScreenProgram = true;
  IdleSight remote = OnDesktop();
  remote.remoteSession = true;
  for (const IdleSight& reason : {covered, locked, dark, battery, fullScreen, remote}) {
    IdlePause rule = PlayingOnDesktop();
    EXPECT_EQ(rule.SetSight(reason), IdleAction::Pause);
    EXPECT_TRUE(rule.Holding());
    EXPECT_EQ(rule.SetSight(reason), IdleAction::None) << "one pause per reason, not one per report";
    EXPECT_EQ(rule.SetSight(OnDesktop()), IdleAction::Resume);
    EXPECT_FALSE(rule.Holding());
  }
}

TEST(IdlePause, ResumesOnlyWhenTheLastReasonEnds) {
  IdlePause rule = PlayingOnDesktop();
  IdleSight both = Covered();
  both.onBattery = true;
  EXPECT_EQ(rule.SetSight(Covered()), IdleAction::Pause);
  EXPECT_EQ(rule.SetSight(both), IdleAction::None);
  IdleSight batteryOnly = OnDesktop();
  batteryOnly.onBattery = true;
  EXPECT_EQ(rule.SetSight(batteryOnly), IdleAction::None);
  EXPECT_EQ(rule.SetSight(OnDesktop()), IdleAction::Resume);
}

TEST(IdlePause, TheUsersPauseOrStopSurvivesEveryAutomaticResume) {
  IdlePause rule = PlayingOnDesktop();
  EXPECT_EQ(rule.SetSight(Covered()), IdleAction::Pause);
  EXPECT_EQ(rule.ClipHalted(), IdleAction::None);  // the user's Pause while covered
  EXPECT_FALSE(rule.Holding());
  EXPECT_EQ(rule.SetSight(OnDesktop()), IdleAction::None);
  IdleSight locked = OnDesktop();
  locked.sessionAway = true;
  EXPECT_EQ(rule.SetSight(locked), IdleAction::None);
  EXPECT_EQ(rule.SetSight(OnDesktop()), IdleAction::None);
  EXPECT_EQ(rule.SetSwitches({false, false, false, false}), IdleAction::None);
  EXPECT_FALSE(rule.Running());
}

TEST(IdlePause, NothingIsPausedThatDoesNotPlay) {
  IdlePause rule;
  EXPECT_EQ(rule.SetSight(OnDesktop()), IdleAction::None);
  EXPECT_EQ(rule.SetSight(Covered()), IdleAction::None);  // no clip runs yet
  EXPECT_FALSE(rule.Holding());
  EXPECT_EQ(rule.ClipRunning(), IdleAction::Pause);  // the first clip starts under a cover
}

TEST(IdlePause, PlayWhileCoveredIsPausedAgainAndRunsWhenTheDesktopShows) {
  IdlePause rule = PlayingOnDesktop();
  EXPECT_EQ(rule.SetSight(Covered()), IdleAction::Pause);
  EXPECT_EQ(rule.ClipHalted(), IdleAction::None);    // the user's Pause
  EXPECT_EQ(rule.ClipRunning(), IdleAction::Pause);  // the user's Play: still nobody sees it
  EXPECT_TRUE(rule.Holding());
  EXPECT_EQ(rule.SetSight(OnDesktop()), IdleAction::Resume);
}

TEST(IdlePause, ANewClipStartedWhileHeldIsHeldToo) {
  IdlePause rule = PlayingOnDesktop();
  EXPECT_EQ(rule.SetSight(Covered()), IdleAction::Pause);
  // The next entry from the tray: the graph is stopped, then runs the new clip.
  EXPECT_EQ(rule.ClipHalted(), IdleAction::None);
  EXPECT_EQ(rule.ClipRunning(), IdleAction::Pause);
  EXPECT_EQ(rule.SetSight(OnDesktop()), IdleAction::Resume);
}

TEST(IdlePause, SwitchingAReasonOffWhileHeldResumes) {
  IdlePause rule = PlayingOnDesktop();
  EXPECT_EQ(rule.SetSight(Covered()), IdleAction::Pause);
  EXPECT_EQ(rule.SetSwitches({false, true, true}), IdleAction::Resume);
  EXPECT_EQ(rule.SetSight(Covered()), IdleAction::None);
  EXPECT_EQ(rule.SetSwitches({true, true, true}), IdleAction::Pause);

  IdleSight battery = OnDesktop();
  battery.onBattery = true;
  IdlePause onBattery = PlayingOnDesktop();
  EXPECT_EQ(onBattery.SetSight(battery), IdleAction::Pause);
  EXPECT_EQ(onBattery.SetSwitches({true, false, true}), IdleAction::Resume);

  IdleSight dark = OnDesktop();
  dark.displayOff = true;
  IdlePause locked = PlayingOnDesktop();
  EXPECT_EQ(locked.SetSight(dark), IdleAction::Pause);
  EXPECT_EQ(locked.SetSwitches({true, true, false}), IdleAction::Resume);
}

TEST(IdlePause, EachSwitchOffKeepsPlayingThroughItsReason) {
  IdleSight covered = Covered();
  IdleSight battery = OnDesktop();
  battery.onBattery = true;
  IdleSight locked = OnDesktop();
  locked.sessionAway = true;
  IdleSight fullScreen = OnDesktop();
  fullScreen.fullScreenProgram = true;
  IdleSight remote = OnDesktop();
  remote.remoteSession = true;
  const std::pair<IdleSwitches, IdleSight> cases[] = {{{false, true, true, true}, covered},
                                                      {{false, true, true, true}, fullScreen},
                                                      {{true, false, true, true}, battery},
                                                      {{true, true, false, true}, locked},
                                                      {{true, true, true, false}, remote}};
  for (const auto& [switches, reason] : cases) {
    IdlePause rule = PlayingOnDesktop();
    EXPECT_EQ(rule.SetSwitches(switches), IdleAction::None);
    EXPECT_EQ(rule.SetSight(reason), IdleAction::None);
    EXPECT_FALSE(rule.Holding());
  }
}

TEST(IdlePause, ThePreviewAndTheScreenSaverAreNeverPaused) {
  IdleSight everything;
  everything.covered = everything.sessionAway = everything.displayOff = everything.onBattery = true;
  everything.fullScreenProgram = everything.remoteSession = true;
  IdleSight preview = everything;
  preview.previewShown = true;
  IdleSight screenSaver = everything;
  screenSaver.screenSaverMode = true;
  IdleSight desktopUnderSaver = screenSaver;
  desktopUnderSaver.desktopPlayback = true;  // the flag may be up before the mode changes
  for (const IdleSight& sight : {preview, screenSaver, desktopUnderSaver}) {
    IdlePause rule;
    EXPECT_EQ(rule.ClipRunning(), IdleAction::None);
    EXPECT_EQ(rule.SetSight(sight), IdleAction::None);
    EXPECT_FALSE(rule.ReasonToPause());
  }
}

TEST(IdlePause, LeavingTheDesktopForThePreviewOrScreenSaverResumes) {
  IdlePause rule = PlayingOnDesktop();
  EXPECT_EQ(rule.SetSight(Covered()), IdleAction::Pause);
  IdleSight preview = Covered();
  preview.desktopPlayback = false;
  preview.previewShown = true;
  EXPECT_EQ(rule.SetSight(preview), IdleAction::Resume);
  EXPECT_EQ(rule.SetSight(Covered()), IdleAction::Pause);  // back to the desktop, still covered
  IdleSight screenSaver = Covered();
  screenSaver.desktopPlayback = false;
  screenSaver.screenSaverMode = true;
  EXPECT_EQ(rule.SetSight(screenSaver), IdleAction::Resume);
}

namespace {

// Layouts as Windows reports them: the primary monitor at the origin, others
// left of it and above it at negative coordinates.
const MonitorArea kPrimary{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
const MonitorArea kLeft{{-1280, 56, 0, 1080}, {-1280, 56, 0, 1080}};
const MonitorArea kAbove{{0, -1440, 2560, 0}, {0, -1440, 2560, -48}};
const MonitorArea kSmall{{0, 0, 1024, 768}, {0, 0, 1024, 728}};

TopWindowFacts Window(ScreenRect rect) {
  TopWindowFacts window;
  window.rect = rect;
  window.visible = true;
  return window;
}

}  // namespace

TEST(CoverRule, AWindowCoversTheMonitorsItFillsToNinetyFivePerCentOrWhoseWorkAreaItHolds) {
  struct Case {
    const char* what;
    ScreenRect rect;
    bool primary, left, above;
  };
  const Case cases[] = {
      {"maximised on the primary", {-8, -8, 1928, 1048}, true, false, false},
      {"full screen on the primary", {0, 0, 1920, 1080}, true, false, false},
      {"95 % of the primary's width", {48, 0, 1872, 1080}, true, false, false},
      {"one column short of 95 %", {48, 0, 1871, 1080}, false, false, false},
      {"a borderless game a little off", {-1270, 70, 10, 1080}, false, true, false},
      {"maximised on the left monitor", {-1288, 48, 8, 1088}, false, true, false},
      {"one window over both", {-1280, 0, 1920, 1080}, true, true, false},
      {"maximised on the monitor above", {-8, -1448, 2568, -40}, false, false, true},
      {"half of every monitor", {-640, -1440, 1280, 1080}, false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CoversMonitor(Window(c.rect), kPrimary), c.primary) << c.what;
    EXPECT_EQ(CoversMonitor(Window(c.rect), kLeft), c.left) << c.what;
    EXPECT_EQ(CoversMonitor(Window(c.rect), kAbove), c.above) << c.what;
  }
  EXPECT_TRUE(CoversMonitor(Window({0, 0, 1024, 728}), kSmall)) << "the work area of a small monitor is under 95 %";
  EXPECT_FALSE(CoversMonitor(Window({0, 40, 1024, 768}), kSmall));
}

TEST(CoverRule, HiddenToolShellAndOwnHostWindowsDoNotCount) {
  const TopWindowFacts full = Window({0, 0, 1920, 1080});
  auto with = [&full](bool TopWindowFacts::*flag, bool value) {
    TopWindowFacts window = full;
    window.*flag = value;
    return window;
  };
  EXPECT_TRUE(CoversMonitor(full, kPrimary));
  const std::pair<bool TopWindowFacts::*, bool> ruledOut[] = {
      {&TopWindowFacts::visible, false},   {&TopWindowFacts::minimised, true},    {&TopWindowFacts::cloaked, true},
      {&TopWindowFacts::toolWindow, true}, {&TopWindowFacts::clickThrough, true}, {&TopWindowFacts::shell, true},
      {&TopWindowFacts::desktopHost, true}};
  for (const auto& [flag, value] : ruledOut) EXPECT_FALSE(CoversMonitor(with(flag, value), kPrimary));
}

TEST(CoverRule, TheClipIsHiddenOnlyWhenEveryOneOfItsMonitorsIsCovered) {
  const TopWindowFacts onPrimary = Window({-8, -8, 1928, 1048});
  const TopWindowFacts onLeft = Window({-1280, 56, 0, 1080});
  const TopWindowFacts small = Window({10, 10, 500, 500});
  const std::vector<MonitorArea> both = {kPrimary, kLeft};
  EXPECT_TRUE(AllCovered({small, onPrimary}, {kPrimary}));
  EXPECT_FALSE(AllCovered({small, onPrimary}, both));
  EXPECT_TRUE(AllCovered({onLeft, small, onPrimary}, both));
  EXPECT_FALSE(AllCovered({onLeft, onPrimary}, {kPrimary, kLeft, kAbove}));
  EXPECT_FALSE(AllCovered({onLeft, onPrimary}, {})) << "no monitor, nothing hidden";
}

TEST(ShellSurfaces, PassingShellSurfacesAreKnownByClassAndProgramOrdinaryWindowsAreNot) {
  struct Case {
    const wchar_t* className;
    const wchar_t* program;
    bool shell;
  };
  const Case cases[] = {
      {L"Progman", L"explorer.exe", true},
      {L"Shell_TrayWnd", L"", true},
      {L"MultitaskingViewFrame", L"explorer.exe", true},
      {L"XamlExplorerHostIslandWindow", L"Explorer.EXE", true},
      {L"Windows.UI.Core.CoreWindow", L"StartMenuExperienceHost.exe", true},
      {L"windows.ui.core.corewindow", L"SEARCHHOST.EXE", true},
      {L"Windows.UI.Core.CoreWindow", L"ScreenClippingHost.exe", true},
      {L"ApplicationFrameWindow", L"GameBar.exe", true},
      {L"Windows.UI.Core.CoreWindow", L"Calculator.exe", false},  // an app of its own
      {L"Windows.UI.Core.CoreWindow", L"", false},
      {L"CabinetWClass", L"explorer.exe", false},  // a folder window covers like any other
      {L"UnrealWindow", L"Game.exe", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsShellSurface(c.className, c.program), c.shell)
        << std::string(c.className, c.className + std::wcslen(c.className));
}

TEST(IdleSignals, FullScreenDirect3DAndPresentationModePauseBatteryAndBatterySaverCountAsBattery) {
  for (int state = 0; state <= 7; ++state) {
    const auto reported = static_cast<NotificationState>(state);
    EXPECT_EQ(FullScreenProgramReported(reported), state == 3 || state == 4) << state;
  }
  struct Case {
    std::uint8_t line, flag;
    std::optional<int> mode;
    bool battery;
  } const cases[] = {
      {0, 0, {}, true},
      {1, 0, {}, false},
      {255, 0, {}, false},
      {1, 1, {}, true},
      {255, 1, {}, true},
      {0, 1, {}, true},
      // Energy Saver on mains: the effective power mode alone tells of it.
      {1, 0, 0, true},
      {1, 0, 1, false},
      {1, 0, 2, false},
      {1, 0, 5, false},
      {0, 0, 2, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RunsOnBattery({c.line, c.flag, c.mode}), c.battery)
        << int(c.line) << " " << int(c.flag) << " " << c.mode.value_or(-1);
}

TEST(IdleSignals, AFullScreenProgramHidesTheClipOnlyWhereItCoversEveryMonitorOfIt) {
  const ScreenRect left{0, 0, 1920, 1080}, right{1920, 0, 4480, 1440};
  const ScreenRect above{0, -1080, 1920, 0};
  struct Case {
    const char* name;
    NotificationState state;
    std::optional<ScreenRect> foreground;
    std::vector<ScreenRect> clip;
    bool hides;
  } const cases[] = {
      {"game on the clip's only monitor", NotificationState::RunningD3DFullScreen, left, {left}, true},
      {"presentation on the clip's only monitor", NotificationState::PresentationMode, right, {right}, true},
      {"game on the other monitor", NotificationState::RunningD3DFullScreen, right, {left}, false},
      {"game on one of the clip's two monitors", NotificationState::RunningD3DFullScreen, left, {left, right}, false},
      {"clip across both, game on one", NotificationState::RunningD3DFullScreen, right, {{0, 0, 4480, 1440}}, false},
      {"a monitor above", NotificationState::RunningD3DFullScreen, above, {above}, true},
      {"no foreground window", NotificationState::RunningD3DFullScreen, std::nullopt, {left}, false},
      {"nothing full screen", NotificationState::AcceptsNotifications, left, {left}, false},
      {"busy is left to the covers", NotificationState::Busy, left, {left}, false},
      {"no clip monitor", NotificationState::RunningD3DFullScreen, left, {}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(FullScreenProgramHides(c.state, c.foreground, c.clip), c.hides) << c.name;
}
