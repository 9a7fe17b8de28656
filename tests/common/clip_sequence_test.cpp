// What plays next, what is prepared for it, and when "Change clip every" fires.
#include "common/clip_sequence.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace lumorix;

namespace {

// Random picks handed out in the order given, so a table can say which pick comes.
struct ScriptedPicks {
  std::vector<int32_t> picks;
  size_t next = 0;
  int32_t operator()(int32_t) { return picks.at(next++); }
};

int32_t NoPick(int32_t) {
  ADD_FAILURE() << "a random pick where none is due";
  return 0;
}

}  // namespace

TEST(ClipSequence, FollowingEntryUnderEveryModeAndReason) {
  struct Row {
    const char* name;
    PlayModes modes;
    MoveReason reason;
    int32_t count, playing;
    std::vector<int32_t> picks;
    int32_t expected;
  };
  const Row rows[] = {
      {"in order", {}, MoveReason::ClipEnded, 3, 0, {}, 1},
      {"wraps after the last", {}, MoveReason::ClipEnded, 3, 2, {}, 0},
      {"one entry plays itself again", {}, MoveReason::ClipEnded, 1, 0, {}, 0},
      {"repeat stays", {true, false, 0}, MoveReason::ClipEnded, 3, 1, {}, 1},
      {"random wins over repeat", {true, true, 0}, MoveReason::ClipEnded, 5, 1, {3}, 3},
      {"timer on: the clip loops at its end", {false, false, 5}, MoveReason::ClipEnded, 3, 1, {}, 1},
      {"timer on, random: still loops at its end", {false, true, 5}, MoveReason::ClipEnded, 3, 1, {}, 1},
      {"timer moves on in order", {false, false, 5}, MoveReason::ChangeTimer, 3, 2, {}, 0},
      {"timer moves on under repeat", {true, false, 1}, MoveReason::ChangeTimer, 3, 1, {}, 2},
      {"timer picks at random", {true, true, 1}, MoveReason::ChangeTimer, 4, 1, {0}, 0},
      {"next under repeat stays, as the button always did", {true, false, 5}, MoveReason::UserNext, 3, 1, {}, 1},
      {"next in order", {false, false, 5}, MoveReason::UserNext, 3, 1, {}, 2},
      {"empty playlist", {false, true, 5}, MoveReason::ChangeTimer, 0, 0, {}, -1},
      {"a saved index beyond a shorter list loops from the first",
       {false, false, 5},
       MoveReason::ClipEnded,
       2,
       7,
       {},
       0},
  };
  for (const Row& row : rows) {
    ScriptedPicks picks{row.picks};
    EXPECT_EQ(FollowingEntry(row.modes, row.reason, row.count, row.playing, std::ref(picks)), row.expected) << row.name;
    EXPECT_EQ(picks.next, row.picks.size()) << row.name << ": picks used";
  }
}

TEST(ClipSequence, ThePreparedRandomPickIsTheOneThatPlays) {
  struct Row {
    const char* name;
    PlayModes modes;
    MoveReason reason;
    int32_t count, playing, prepared;
    std::vector<int32_t> picks;
    int32_t expected;
  };
  const Row rows[] = {
      {"random: the prepared pick, no new one", {false, true, 0}, MoveReason::ClipEnded, 6, 0, 4, {}, 4},
      {"random: the prepared pick for Next too", {false, true, 0}, MoveReason::UserNext, 6, 0, 4, {}, 4},
      {"random timer: the prepared pick", {false, true, 5}, MoveReason::ChangeTimer, 6, 0, 2, {}, 2},
      {"random: a pick whose entry was removed picks again", {false, true, 0}, MoveReason::ClipEnded, 3, 0, 4, {1}, 1},
      {"random: nothing prepared picks now", {false, true, 0}, MoveReason::ClipEnded, 3, 0, -1, {2}, 2},
      {"random timer on: the end loops, whatever was prepared",
       {false, true, 5},
       MoveReason::ClipEnded,
       6,
       3,
       1,
       {},
       3},
      {"order: what follows now, not a stale preparation", {}, MoveReason::ClipEnded, 4, 1, 3, {}, 2},
      {"repeat switched on after preparing", {true, false, 0}, MoveReason::ClipEnded, 4, 1, 2, {}, 1},
  };
  for (const Row& row : rows) {
    ScriptedPicks picks{row.picks};
    EXPECT_EQ(EntryToPlay(row.modes, row.reason, row.count, row.playing, row.prepared, std::ref(picks)), row.expected)
        << row.name;
  }
}

TEST(ClipSequence, NextOwnMoveIsTheTimerOnlyWhileItIsOn) {
  EXPECT_EQ(NextOwnMove({}), MoveReason::ClipEnded);
  EXPECT_EQ(NextOwnMove({true, true, 0}), MoveReason::ClipEnded);
  EXPECT_EQ(NextOwnMove({false, false, 15}), MoveReason::ChangeTimer);
}

TEST(ClipSequence, FailingEntriesAreSkippedWhilePreparing) {
  struct Row {
    const char* name;
    int32_t count, first;
    bool random;
    std::set<int32_t> failing;
    std::vector<int32_t> picks;
    int32_t expected;
    std::vector<int32_t> tried;
  };
  const Row rows[] = {
      {"a good first entry", 4, 1, false, {}, {}, 1, {1}},
      {"the next good entry in order", 4, 1, false, {1, 2}, {}, 3, {1, 2, 3}},
      {"wraps past the end", 4, 3, false, {3}, {}, 0, {3, 0}},
      {"every entry fails once each", 3, 1, false, {0, 1, 2}, {}, -1, {1, 2, 0}},
      {"random picks again after a failure", 5, 2, true, {2, 4}, {4, 1}, 1, {2, 4, 1}},
      {"random gives up after as many picks as entries", 2, 0, true, {0, 1}, {1}, -1, {0, 1}},
      {"no entries", 0, 0, false, {}, {}, -1, {}},
      {"a first index beyond the list", 2, 5, false, {}, {}, -1, {}},
  };
  for (const Row& row : rows) {
    ScriptedPicks picks{row.picks};
    std::vector<int32_t> tried;
    int32_t found = FirstPlayable(row.count, row.first, row.random, std::ref(picks), [&](int32_t index) {
      tried.push_back(index);
      return !row.failing.contains(index);
    });
    EXPECT_EQ(found, row.expected) << row.name;
    EXPECT_EQ(tried, row.tried) << row.name;
  }
}

TEST(ClipSequence, SameFileIgnoresCaseAndSlashKind) {
  EXPECT_TRUE(SameClipFile("C:\\Clips\\Sea.avi", "c:\\clips\\SEA.AVI"));
  EXPECT_TRUE(SameClipFile("C:\\Clips\\Sea.avi", "C:/Clips/Sea.avi"));
  EXPECT_FALSE(SameClipFile("C:\\Clips\\Sea.avi", "C:\\Clips\\Sea.avi2"));
  EXPECT_FALSE(SameClipFile("C:\\Clips\\Sea.avi", "C:\\Clips\\Sky.avi"));
}

TEST(ClipSequence, StoredSettingsOutsideTheChoicesReadAsOff) {
  EXPECT_EQ(ValidTransition(1000), 1000);
  EXPECT_EQ(ValidTransition(750), 0);
  EXPECT_EQ(ValidTransition(-500), 0);
  EXPECT_EQ(ValidChangeEvery(30), 30);
  EXPECT_EQ(ValidChangeEvery(2), 0);
  EXPECT_EQ(ValidChangeEvery(1 << 30), 0);
  EXPECT_EQ(DecodeTransition(EncodeInteger(2000)), 2000);
  EXPECT_EQ(DecodeTransition(std::nullopt), 0);
  EXPECT_EQ(DecodeTransition(EncodeString("1000")), 0);
  EXPECT_EQ(DecodeChangeEvery(EncodeInteger(15)), 15);
  EXPECT_EQ(DecodeChangeEvery(RawValue{kRegDword, {5}}), 0);  // a DWORD of one byte
}

TEST(ChangeCountdown, OnlyPlayingTimeCounts) {
  struct Step {
    int64_t elapsedMs;
    bool playing;
    bool fires;
  };
  struct Row {
    const char* name;
    int32_t minutes;
    std::vector<Step> steps;
  };
  const Row rows[] = {
      {"off never fires", 0, {{120'000, true, false}, {1'000'000, true, false}}},
      {"fires once a minute of play has passed", 1, {{30'000, true, false}, {29'999, true, false}, {1, true, true}}},
      {"a pause holds the count",
       1,
       {{50'000, true, false}, {600'000, false, false}, {9'000, true, false}, {1'000, true, true}}},
      {"the count starts again after firing", 1, {{60'000, true, true}, {59'000, true, false}, {1'000, true, true}}},
      {"a long stall fires once, not many times", 5, {{3'000'000, true, true}, {1'000, true, false}}},
  };
  for (const Row& row : rows) {
    ChangeCountdown countdown;
    countdown.SetInterval(row.minutes);
    for (size_t i = 0; i < row.steps.size(); ++i)
      EXPECT_EQ(countdown.Advance(row.steps[i].elapsedMs, row.steps[i].playing), row.steps[i].fires)
          << row.name << ", step " << i;
  }
}

TEST(ChangeCountdown, ANewClipGetsTheWholeInterval) {
  ChangeCountdown countdown;
  countdown.SetInterval(1);
  EXPECT_FALSE(countdown.Advance(50'000, true));
  countdown.Restart();
  EXPECT_FALSE(countdown.Advance(50'000, true));
  EXPECT_TRUE(countdown.Advance(10'000, true));
}
