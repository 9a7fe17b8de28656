// The rule that holds a desktop clip paused while nobody sees it, and the
// rule that says which window hides the desktop.
#include <gtest/gtest.h>

#include <utility>

#include "common/cover_rule.h"
#include "common/idle_pause.h"

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
  for (const IdleSight& reason : {covered, locked, dark, battery}) {
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
  EXPECT_EQ(rule.SetSwitches({false, false, false}), IdleAction::None);
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
  const std::pair<IdleSwitches, IdleSight> cases[] = {
      {{false, true, true}, covered}, {{true, false, true}, battery}, {{true, true, false}, locked}};
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

const MonitorArea kArea{{0, 0, 1024, 768}, {0, 0, 1024, 740}};

TopWindowFacts Window(ScreenRect rect) {
  TopWindowFacts window;
  window.rect = rect;
  window.visible = true;
  window.onMonitor = true;
  return window;
}

}  // namespace

TEST(CoverRule, MaximisedOrCoveringTheWorkAreaCounts) {
  TopWindowFacts maximised = Window({-4, -4, 1028, 744});
  maximised.maximised = true;
  EXPECT_TRUE(CoversMonitor(maximised, kArea));
  TopWindowFacts oddlyPlacedMaximised = Window({100, 100, 400, 400});  // restored size kept by some programs
  oddlyPlacedMaximised.maximised = true;
  EXPECT_TRUE(CoversMonitor(oddlyPlacedMaximised, kArea));
  EXPECT_TRUE(CoversMonitor(Window({0, 0, 1024, 768}), kArea)) << "full screen over the taskbar";
  EXPECT_TRUE(CoversMonitor(Window({0, 0, 1024, 740}), kArea)) << "full screen beside the taskbar";
}

TEST(CoverRule, APartOfTheMonitorDoesNotCount) {
  EXPECT_FALSE(CoversMonitor(Window({0, 0, 1023, 768}), kArea));
  EXPECT_FALSE(CoversMonitor(Window({100, 100, 800, 600}), kArea));
  EXPECT_FALSE(CoversMonitor(Window({0, 1, 1024, 768}), kArea));
}

TEST(CoverRule, HiddenToolShellAndOwnHostWindowsDoNotCount) {
  const TopWindowFacts full = Window({0, 0, 1024, 768});
  auto with = [&full](bool TopWindowFacts::*flag, bool value) {
    TopWindowFacts window = full;
    window.*flag = value;
    return window;
  };
  EXPECT_FALSE(CoversMonitor(with(&TopWindowFacts::visible, false), kArea));
  EXPECT_FALSE(CoversMonitor(with(&TopWindowFacts::minimised, true), kArea));
  EXPECT_FALSE(CoversMonitor(with(&TopWindowFacts::cloaked, true), kArea));
  EXPECT_FALSE(CoversMonitor(with(&TopWindowFacts::toolWindow, true), kArea));
  EXPECT_FALSE(CoversMonitor(with(&TopWindowFacts::clickThrough, true), kArea));
  EXPECT_FALSE(CoversMonitor(with(&TopWindowFacts::shell, true), kArea));
  EXPECT_FALSE(CoversMonitor(with(&TopWindowFacts::desktopHost, true), kArea));
}

TEST(CoverRule, AWindowMaximisedOnAnotherMonitorDoesNotCount) {
  TopWindowFacts elsewhere = Window({1024, 0, 2048, 740});
  elsewhere.maximised = true;
  elsewhere.onMonitor = false;
  EXPECT_FALSE(CoversMonitor(elsewhere, kArea));
  EXPECT_FALSE(AnyCovers({elsewhere, Window({10, 10, 500, 500})}, kArea));
  EXPECT_TRUE(AnyCovers({elsewhere, Window({-8, -8, 1032, 776})}, kArea));
}
