// Random playlist picks: never a division by zero, fair, and fresh from one pick to the next.
#include "common/random_pick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

using namespace lumorix;

TEST(RandomPick, NoIndexForAnEmptyPlaylist) {
  RandomPick pick(1);
  EXPECT_EQ(pick(0), -1);
  EXPECT_EQ(pick(-3), -1);
  EXPECT_EQ(pick(1), 0);
}

TEST(RandomPick, PicksInARowDifferWithoutReseeding) {
  RandomPick pick(FreshSeed());
  std::set<int32_t> seen;
  for (int i = 0; i < 20; ++i) seen.insert(pick(1000));
  // Twenty picks from a thousand entries: a generator reseeded from a clock
  // within one second would give one value twenty times.
  EXPECT_GT(seen.size(), 15u);
}

TEST(RandomPick, ReachesIndexesBeyondTheCRandomRange) {
  RandomPick pick(7);
  int32_t highest = 0;
  for (int i = 0; i < 1000; ++i) highest = std::max(highest, pick(1'000'000));
  EXPECT_GT(highest, 32767);
  EXPECT_LT(highest, 1'000'000);
}

TEST(RandomPick, EveryIndexIsEquallyLikely) {
  RandomPick pick(42);
  constexpr int kCount = 10;
  constexpr int kPicks = 100'000;
  std::array<int, kCount> hits{};
  for (int i = 0; i < kPicks; ++i) ++hits.at(static_cast<size_t>(pick(kCount)));
  double chiSquare = 0;
  for (int h : hits) chiSquare += (h - kPicks / kCount) * double(h - kPicks / kCount) / (kPicks / kCount);
  // 9 degrees of freedom: above 27.9 happens by chance once in a thousand runs.
  EXPECT_LT(chiSquare, 27.9);
}

TEST(RandomPick, TheSameSeedGivesTheSamePicks) {
  RandomPick first(99), second(99);
  std::vector<int32_t> a, b;
  for (int i = 0; i < 10; ++i) {
    a.push_back(first(500));
    b.push_back(second(500));
  }
  EXPECT_EQ(a, b);
}
