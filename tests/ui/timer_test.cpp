#include "ui/timer.h"

#include <gtest/gtest.h>

#include "tests/support/gui_test.h"

using namespace lumorix;
using std::chrono::milliseconds;

TEST(Timer, FiresAfterItsIntervalUntilDisabled) {
  ui::Timer timer(100);
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetEnabled(true);
  ASSERT_TRUE(test::PumpUntil([&] { return ticks >= 2; }, milliseconds(3000)));
  timer.SetEnabled(false);
  int stopped = ticks;
  test::PumpFor(milliseconds(300));
  EXPECT_EQ(ticks, stopped);
}

TEST(Timer, EnablingARunningTimerDoesNotRestartIt) {
  ui::Timer timer(600);
  auto started = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point fired{};
  timer.OnTimer = [&] {
    fired = std::chrono::steady_clock::now();
    timer.SetEnabled(false);
  };
  timer.SetEnabled(true);
  test::PumpFor(milliseconds(400));
  timer.SetEnabled(true);  // must not push the first tick back to 1000 ms
  ASSERT_TRUE(test::PumpUntil([&] { return fired != std::chrono::steady_clock::time_point{}; }, milliseconds(3000)));
  EXPECT_LT(std::chrono::duration_cast<milliseconds>(fired - started).count(), 900);
}
