// The rules the settings window applies, which need no window.
#include <gtest/gtest.h>

#include "common/format.h"
#include "common/next_entry.h"
#include "common/rate_ladder.h"
#include "common/time_text.h"
#include "common/volume_curve.h"

using namespace lumorix;

TEST(VolumeCurve, LogarithmicMappingPoints) {
  EXPECT_EQ(VolumeToAttenuation(0, true), -10000);
  EXPECT_EQ(VolumeToAttenuation(100, true), -4989);
  EXPECT_EQ(VolumeToAttenuation(1000, true), -2499);
  EXPECT_EQ(VolumeToAttenuation(5000, true), -752);
  EXPECT_EQ(VolumeToAttenuation(9999, true), 0);
  EXPECT_EQ(VolumeToAttenuation(10000, true), 0);
}

TEST(VolumeCurve, BalanceKeepsItsSign) {
  EXPECT_EQ(BalanceToAttenuation(100, true), 5011);
  EXPECT_EQ(BalanceToAttenuation(1000, true), 7501);
  EXPECT_EQ(BalanceToAttenuation(5000, true), 9248);
  EXPECT_EQ(BalanceToAttenuation(10000, true), 10000);
  EXPECT_EQ(BalanceToAttenuation(-5000, true), -9248);
  EXPECT_EQ(BalanceToAttenuation(0, true), 0);
}

TEST(VolumeCurve, LinearMappingAndClamping) {
  EXPECT_EQ(VolumeToAttenuation(5000, false), -5000);
  EXPECT_EQ(BalanceToAttenuation(-1000, false), -1000);
  EXPECT_EQ(ClampVolume(-5), 0);
  EXPECT_EQ(ClampVolume(20000), 10000);
  EXPECT_EQ(ClampBalance(-20000), -10000);
  EXPECT_EQ(BalanceToAttenuation(-20000, true), -10000);
}

TEST(RateLadder, UpRunsThroughTheLadderAndWrapsToOne) {
  int step = 0;
  std::vector<std::string> seen;
  for (int press = 0; press < 6; ++press) {
    step = StepUp(step);
    seen.push_back(RateText(RateOfStep(step)));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"1.4x", "2x", "5x", "1x", "1.4x", "2x"}));
}

TEST(RateLadder, DownRunsToTheSlowestAndWrapsToOne) {
  int step = 0;
  std::vector<std::string> seen;
  for (int press = 0; press < 3; ++press) {
    step = StepDown(step);
    seen.push_back(RateText(RateOfStep(step)));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"0.5x", "0.2x", "1x"}));
}

TEST(RateLadder, OnlyTheLadderRatesAreKeptAtStart) {
  for (double rate : {1.0, 1.4, 2.0, 5.0, 0.5, 0.2}) EXPECT_TRUE(IsLadderRate(rate)) << rate;
  EXPECT_FALSE(IsLadderRate(0.0));
  EXPECT_FALSE(IsLadderRate(1.5));
  EXPECT_FALSE(IsLadderRate(1.4000000001));
}

TEST(RateLadder, TextUsesTheUsersDecimalSeparator) { EXPECT_EQ(RateText(1.4, ','), "1,4x"); }

TEST(TimeText, HoursMinutesSecondsZeroPadded) {
  EXPECT_EQ(SecToTime(0), "00:00:00");
  EXPECT_EQ(SecToTime(95), "00:01:35");
  EXPECT_EQ(SecToTime(3600 * 123 + 61), "123:01:01");
}

TEST(NextEntry, ModesChooseTheNextIndex) {
  auto never = [](int32_t) -> int32_t {
    ADD_FAILURE() << "no random pick expected";
    return 0;
  };
  EXPECT_EQ(NextEntryIndex(3, 0, false, false, never), 1);
  EXPECT_EQ(NextEntryIndex(3, 2, false, false, never), 0);
  EXPECT_EQ(NextEntryIndex(1, 0, false, false, never), 0);
  EXPECT_EQ(NextEntryIndex(3, 1, true, false, never), 1);
  EXPECT_EQ(NextEntryIndex(0, 0, false, false, never), -1);
}

TEST(NextEntry, RandomWinsOverRepeat) {
  int32_t askedFor = 0;
  auto pick = [&](int32_t count) {
    askedFor = count;
    return 2;
  };
  EXPECT_EQ(NextEntryIndex(5, 1, true, true, pick), 2);
  EXPECT_EQ(askedFor, 5);
}

TEST(Format, FullStopIsAddedOnce) {
  EXPECT_EQ(WithFullStop("Failed"), "Failed.");
  EXPECT_EQ(WithFullStop("Done."), "Done.");
}
