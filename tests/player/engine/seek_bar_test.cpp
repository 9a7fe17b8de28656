// The seek bar on a 95.4 s clip: one bar step is one second.
#include "player/engine/seek/ds_track_bar.h"

#include <gtest/gtest.h>

#include "tests/support/gui_test.h"
#include "tests/support/media.h"
#include "tests/support/test_form.h"
#include "ui/form.h"

using namespace lumorix;
using namespace lumorix::engine;
using namespace lumorix::test;

namespace {

class SeekBarTest : public ::testing::Test {
 protected:
  SeekBarTest() : form(L"Seek", 420, 40), bar(form.Handle(), {0, 0, 400, 25}, BarDesign()) {
    bar.SetFilterGraph(&graph);
    graph.SetActive(true);
    EXPECT_EQ(graph.RenderFile(Clip("long.avi")), S_OK);
    seeking = graph.Query<IMediaSeeking>();
  }
  ~SeekBarTest() override { bar.SetFilterGraph(nullptr); }

  static ui::TrackBarDesign BarDesign() {
    ui::TrackBarDesign design;
    design.max = 0;
    design.tickStyle = ui::TickStyle::None;
    return design;
  }
  void SeekTo(LONGLONG hundredNanoseconds) {
    LONGLONG stop = 0;
    seeking->GetStopPosition(&stop);
    seeking->SetPositions(&hundredNanoseconds, AM_SEEKING_AbsolutePositioning, &stop, AM_SEEKING_NoPositioning);
  }
  LONGLONG Current() {
    LONGLONG current = 0;
    seeking->GetCurrentPosition(&current);
    return current;
  }

  TFilterGraph graph;
  TestForm form;
  TDSTrackBar bar;
  ComPtr<IMediaSeeking> seeking;
};

}  // namespace

TEST_F(SeekBarTest, TicksGiveMaxAndPositionInWholeSeconds) {
  int changes = 0;
  bar.OnChange = [&] { ++changes; };
  uint32_t reportedStop = 0;
  bar.OnTimer = [&](uint32_t, uint32_t stop) { reportedStop = stop; };
  SeekTo(949900000);  // 94.99 s
  bar.Tick();
  EXPECT_EQ(bar.Max(), 95);
  EXPECT_EQ(bar.Position(), 94);
  EXPECT_NEAR(reportedStop, 95400u, 10u);
  EXPECT_GT(changes, 0);
  SeekTo(950000000);
  bar.Tick();
  EXPECT_EQ(bar.Position(), 95);
}

TEST_F(SeekBarTest, SetPositionSeeksAndIsClampedToTheRange) {
  bar.SetPosition(10);  // before the first tick the range is empty: nothing happens
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_EQ(Current(), 0);
  bar.Tick();
  bar.SetPosition(1000);
  EXPECT_EQ(bar.Position(), 95);
  LONGLONG duration = 0;
  seeking->GetDuration(&duration);
  EXPECT_EQ(Current(), duration);
  bar.SetPosition(0);
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_EQ(Current(), 0);
}

TEST_F(SeekBarTest, TimerTicksWhilePlayingAndEnabledOnly) {
  // Ticks of the real window timer, counted as they arrive: a tenth of a second each.
  bar.SetTimerInterval(100);
  int ticks = 0;
  bar.OnTimer = [&](uint32_t, uint32_t) { ++ticks; };
  auto ticksWithin = [&](std::chrono::milliseconds window) {
    ticks = 0;
    PumpFor(window);
    return ticks;
  };
  EXPECT_EQ(ticksWithin(std::chrono::milliseconds(400)), 0);
  ASSERT_TRUE(graph.Play());
  EXPECT_GE(ticksWithin(std::chrono::milliseconds(600)), 3);
  (void)graph.Pause();
  EXPECT_EQ(ticksWithin(std::chrono::milliseconds(400)), 0);
  bar.SetEnabled(false);
  ASSERT_TRUE(graph.Play());
  EXPECT_EQ(ticksWithin(std::chrono::milliseconds(400)), 0);
  bar.SetEnabled(true);
  (void)graph.Stop();
  ASSERT_TRUE(graph.Play());
  EXPECT_GE(ticksWithin(std::chrono::milliseconds(600)), 3);
  bar.SetTimerInterval(0);
  EXPECT_EQ(ticksWithin(std::chrono::milliseconds(400)), 0);
}

TEST_F(SeekBarTest, ClockChangeSeeksToTheStart) {
  SeekTo(300000000);
  ASSERT_EQ(Current(), 300000000);
  bar.GraphEvent(EC_CLOCK_CHANGED, 0, 0);
  EXPECT_EQ(Current(), 0);
}

TEST_F(SeekBarTest, KeyboardMovesTheThumbWithoutSeeking) {
  bar.Tick();
  int changes = 0;
  bar.OnChange = [&] { ++changes; };
  SendMessageW(bar.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(bar.Position(), 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Current(), 0);
  bar.Tick();
  EXPECT_EQ(bar.Position(), 0);  // the next tick puts it back to the media position
}
