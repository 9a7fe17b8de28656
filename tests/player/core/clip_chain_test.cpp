// What plays next on the real player: the next clip built and paused while the
// current one plays, taking over without being built at the move; the random
// pick prepared being the one that plays; a file that does not render found
// while preparing; the change timer, which a pause holds; the settings.
#include "common/settings_layout.h"
#include "tests/player/core/player_fixture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

// Counts the clips the player's own graph renders, for as long as it lives.
class RenderCount : public engine::IFilterGraphListener {
 public:
  explicit RenderCount(engine::TFilterGraph& graph) : graph_(graph) { graph_.AddListener(this); }
  ~RenderCount() { graph_.RemoveListener(this); }
  void GraphEvent(long, LONG_PTR, LONG_PTR) override {}
  void ControlEvent(engine::TGraphNotice notice, int) override {
    if (notice == engine::gnRendered) ++rendered;
  }
  int rendered = 0;

 private:
  engine::TFilterGraph& graph_;
};

bool Prepared(TLumorixMainForm& form) {
  return PumpUntil([&] { return form.Chain().PreparedGraphWaits(); }, milliseconds(5000));
}

}  // namespace

TEST_F(PlayerTest, TheNextClipWaitsPausedAndTakesOverWithoutBeingBuilt) {
  WritePlayList({"red.avi", "blue.avi"});
  TLumorixMainForm& form = StartPlayer();
  ASSERT_TRUE(Prepared(form));
  EXPECT_EQ(form.Chain().PreparedEntry(), 1);
  EXPECT_EQ(form.Chain().SpareGraph().State(), 2);  // paused on its first picture
  EXPECT_EQ(form.FilterGraph()->State(), 3);        // while the first clip plays on
  RenderCount rendered(*form.FilterGraph());
  ASSERT_TRUE(PumpUntil([&] { return form.PlayingIndex == 1; }, milliseconds(5000)));
  EXPECT_EQ(rendered.rendered, 0);
  EXPECT_EQ(form.FilterGraph()->State(), 3);
  EXPECT_FALSE(EndReached);
  // The clip that ended has left the spare graph, which waits for the one after.
  ASSERT_TRUE(Prepared(form));
  EXPECT_EQ(form.Chain().PreparedEntry(), 0);
  EXPECT_TRUE(errors.Boxes().empty()) << Narrow(ErrorText(errors));
}

TEST_F(PlayerTest, ClipsWithSoundTakeOverToo) {
  WritePlayList({"tone.avi", "tone3.avi"});
  TLumorixMainForm& form = StartPlayer();
  ASSERT_TRUE(Prepared(form));
  ASSERT_TRUE(PumpUntil([&] { return form.PlayingIndex == 1; }, milliseconds(5000)));
  // The three-second clip, then the first again: both takeovers with a sound track playing.
  ASSERT_TRUE(PumpUntil([&] { return form.PlayingIndex == 0; }, milliseconds(6000)));
  EXPECT_TRUE(PumpUntil([&] { return form.FilterGraph()->State() == 3; }, milliseconds(2000)));
  EXPECT_EQ(form.FilterGraph()->GraphsGivenUp(), 0);
  EXPECT_TRUE(errors.Boxes().empty()) << Narrow(ErrorText(errors));
}

TEST_F(PlayerTest, WithRandomThePreparedPickIsTheOneThatPlays) {
  WritePlayList({"red.avi", "blue.avi", "plain.avi", "short.avi", "red-long.avi"});
  WriteSetting(kPlayListKey, "Random", EncodeInteger(1));
  TLumorixMainForm& form = StartPlayer();
  for (int round = 0; round < 4; ++round) {
    // A pick of the playing file prepares nothing to wait: it goes back to its start.
    ASSERT_TRUE(PumpUntil([&] { return form.Chain().PreparedEntry() >= 0; }, milliseconds(5000)));
    const int32_t picked = form.Chain().PreparedEntry();
    form.BtNextClick();
    EXPECT_EQ(form.PlayingIndex, picked) << "round " << round;
  }
  EXPECT_TRUE(errors.Boxes().empty()) << Narrow(ErrorText(errors));
}

TEST_F(PlayerTest, AFileThatDoesNotRenderIsFoundWhileTheClipBeforeItPlays) {
  WritePlayList({"red.avi", "missing.avi", "blue.avi"});
  TLumorixMainForm& form = StartPlayer();
  ASSERT_TRUE(PumpUntil([&] { return !errors.Boxes().empty(); }, milliseconds(4000)));
  // Found while preparing: the first clip has not ended and plays on.
  EXPECT_EQ(form.PlayingIndex, 0);
  EXPECT_EQ(form.FilterGraph()->State(), 3);
  EXPECT_EQ(form.Chain().PreparedEntry(), 2);
  EXPECT_TRUE(form.Chain().PreparedGraphWaits());
  ASSERT_TRUE(PumpUntil([&] { return form.PlayingIndex == 2; }, milliseconds(5000)));
  EXPECT_EQ(errors.Boxes().size(), 1u);
}

TEST_F(PlayerTest, TheChangeTimerMovesOnMidClipAndAPauseHoldsIt) {
  WritePlayList({"red-long.avi", "blue.avi"});
  WriteSetting(kPlayListKey, kChangeClipEvery, EncodeInteger(1));
  TLumorixMainForm& form = StartPlayer();
  ASSERT_EQ(form.ClipChangeControl().ChangeEvery(), 1);
  // A minute of three seconds: the test cannot wait whole minutes.
  form.Chain().SetMinuteLength(3000);
  form.Pause();
  PumpFor(milliseconds(4500));
  EXPECT_EQ(form.PlayingIndex, 0) << "paused: the countdown stands";
  form.Play();
  ASSERT_TRUE(PumpUntil([&] { return form.PlayingIndex == 1; }, milliseconds(6000)));
  // The thirty-second clip was left in its middle. The next one loops at its end
  // until the timer moves on again.
  ASSERT_TRUE(PumpUntil([&] { return form.PlayingIndex == 0; }, milliseconds(8000)));
  EXPECT_TRUE(errors.Boxes().empty()) << Narrow(ErrorText(errors));
}

TEST_F(PlayerTest, TransitionAndChangeEveryAreStoredBesideTheModes) {
  WriteSetting(kPlayListKey, kTransition, EncodeInteger(1000));
  WriteSetting(kPlayListKey, kChangeClipEvery, EncodeInteger(15));
  TLumorixMainForm& form = StartPlayer();
  ClipChangeMenu& menu = form.ClipChangeControl();
  EXPECT_EQ(menu.Transition(), 1000);
  EXPECT_TRUE(menu.TransitionItems[2]->Checked());
  EXPECT_FALSE(menu.TransitionItems[0]->Checked());
  EXPECT_TRUE(menu.ChangeEveryItems[4]->Checked());
  menu.TransitionItems[3]->Click();
  menu.ChangeEveryItems[0]->Click();
  form.ItExitClick();
  EXPECT_EQ(ReadIntegerSetting(kPlayListKey, kTransition), 2000);
  EXPECT_EQ(ReadIntegerSetting(kPlayListKey, kChangeClipEvery), 0);
}

TEST_F(PlayerTest, UnknownTransitionAndChangeEveryValuesReadAsOff) {
  WriteSetting(kPlayListKey, kTransition, EncodeInteger(700));
  WriteSetting(kPlayListKey, kChangeClipEvery, EncodeString("5"));
  TLumorixMainForm& form = StartPlayer();
  EXPECT_TRUE(errors.Boxes().empty()) << Narrow(ErrorText(errors));
  EXPECT_EQ(form.ClipChangeControl().Transition(), 0);
  EXPECT_EQ(form.ClipChangeControl().ChangeEvery(), 0);
  EXPECT_TRUE(form.ClipChangeControl().ChangeEveryItems[0]->Checked());
}
