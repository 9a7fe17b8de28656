// Transport, the end of a clip, the rate ladder and leaving screen-saver mode, on real clips.
#include <set>

#include "common/settings_layout.h"
#include "tests/player/core/player_fixture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

// Counts the clips the player's graph renders, for as long as it lives.
class RenderCounter : public engine::IFilterGraphListener {
 public:
  explicit RenderCounter(TLumorixMainForm& form) : graph_(*form.FilterGraph()) { graph_.AddListener(this); }
  ~RenderCounter() { graph_.RemoveListener(this); }
  void GraphEvent(long, LONG_PTR, LONG_PTR) override {}
  void ControlEvent(engine::TGraphNotice notice, int) override {
    if (notice == engine::gnRendered) ++rendered_;
  }
  int Rendered() const { return rendered_; }
  bool WaitFor(int clips, milliseconds timeout) {
    return PumpUntil([&] { return rendered_ >= clips; }, timeout);
  }

 private:
  engine::TFilterGraph& graph_;
  int rendered_ = 0;
};

// Counts the ends of clips the player's graph reports.
class EndCounter : public engine::IFilterGraphListener {
 public:
  explicit EndCounter(TLumorixMainForm& form) : graph_(*form.FilterGraph()) { graph_.AddListener(this); }
  ~EndCounter() { graph_.RemoveListener(this); }
  void GraphEvent(long code, LONG_PTR, LONG_PTR) override {
    if (code == EC_COMPLETE) ++ends_;
  }
  void ControlEvent(engine::TGraphNotice, int) override {}
  bool WaitFor(int ends, milliseconds timeout) {
    return PumpUntil([&] { return ends_ >= ends; }, timeout);
  }

 private:
  engine::TFilterGraph& graph_;
  int ends_ = 0;
};

// Where the player's clip is, in milliseconds.
LONGLONG MediaPosition(TLumorixMainForm& form) {
  LONGLONG current = -1;
  if (auto seeking = form.FilterGraph()->Query<IMediaSeeking>()) (void)seeking->GetCurrentPosition(&current);
  return current < 0 ? current : current / 10000;
}

}  // namespace

TEST_F(PlayerTest, SavedEntryPlaysInThePreviewAtStart) {
  WritePlayList({"red.avi", "long.avi"});
  WriteSetting(kPlayListKey, "PlayingIndex", EncodeInteger(1));
  TLumorixMainForm& form = StartPlayer();
  ASSERT_TRUE(errors.Boxes().empty());
  EXPECT_EQ(form.PlayingIndex, 1);
  EXPECT_FALSE(EndReached);
  ASSERT_TRUE(PumpUntil([&] { return form.FilterGraph()->State() == 3; }, milliseconds(5000)));
  // The read-out follows the first whole second: elapsed first, the clip's length second.
  ASSERT_TRUE(PumpUntil([&] { return form.LTimeInd.Text() == L"00:00:01 / 00:01:35"; }, milliseconds(5000)))
      << std::string(form.LTimeInd.Text().begin(), form.LTimeInd.Text().end());
  EXPECT_EQ(form.TBPosition.Max(), 95);
}

TEST_F(PlayerTest, SavedIndexBeyondThePlaylistStopsTheStartUp) {
  WritePlayList({"red.avi"});
  WriteSetting(kPlayListKey, "PlayingIndex", EncodeInteger(5));
  TLumorixMainForm& form = StartPlayer();
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_EQ(errors.Boxes()[0].text, L"List index out of bounds (5).");
  EXPECT_EQ(form.PlayingIndex, 5);
  EXPECT_FALSE(form.Timer.Enabled());
}

TEST_F(PlayerTest, EndOfClipMovesOnAndWrapsToTheFirstEntry) {
  WritePlayList({"short.avi", "short.avi", "short.avi"});
  TLumorixMainForm& form = StartPlayer();
  std::vector<int32_t> seen{form.PlayingIndex};
  ASSERT_TRUE(PumpUntil(
      [&] {
        if (form.PlayingIndex != seen.back()) seen.push_back(form.PlayingIndex);
        return seen.size() == 4;
      },
      milliseconds(20000)));
  EXPECT_EQ(seen, (std::vector<int32_t>{0, 1, 2, 0}));
}

TEST_F(PlayerTest, OneEntryWithoutModesGoesRoundInItsOwnGraph) {
  WritePlayList({"short.avi"});
  TLumorixMainForm& form = StartPlayer();
  RenderCounter counter(form);
  EndCounter ends(form);
  ASSERT_TRUE(ends.WaitFor(2, milliseconds(12000)));
  // The same file again: back to its start, nothing built anew.
  EXPECT_EQ(counter.Rendered(), 0);
  EXPECT_EQ(form.PlayingIndex, 0);
  EXPECT_TRUE(
      PumpUntil([&] { return form.FilterGraph()->State() == 3 && MediaPosition(form) < 500; }, milliseconds(2000)));
}

TEST_F(PlayerTest, RepeatPlaysTheSameEntryAgain) {
  WritePlayList({"short.avi", "red.avi"});
  WriteSetting(kPlayListKey, "Repeat", EncodeInteger(1));
  TLumorixMainForm& form = StartPlayer();
  RenderCounter counter(form);
  EndCounter ends(form);
  ASSERT_TRUE(ends.WaitFor(2, milliseconds(12000)));
  EXPECT_EQ(counter.Rendered(), 0);
  EXPECT_EQ(form.PlayingIndex, 0);
  EXPECT_EQ(form.Chain().PreparedEntry(), 0);
  EXPECT_FALSE(form.Chain().PreparedGraphWaits());
}

TEST_F(PlayerTest, RandomWinsOverRepeatAndStaysInThePlaylist) {
  WritePlayList(std::vector<std::string>(20, "red.avi"));
  WriteSetting(kPlayListKey, "Repeat", EncodeInteger(1));
  WriteSetting(kPlayListKey, "Random", EncodeInteger(1));
  TLumorixMainForm& form = StartPlayer();
  RenderCounter counter(form);
  std::set<int32_t> picked;
  for (int next = 0; next < 6; ++next) {
    form.BtNextClick();
    picked.insert(form.PlayingIndex);
  }
  // One file in every entry: each pick goes back to the start of the clip playing.
  EXPECT_EQ(counter.Rendered(), 0);
  // Repeat alone would play the first entry six times; six fair picks of
  // twenty all landing on one entry happen once in three million runs.
  EXPECT_GT(picked.size(), 1u);
  EXPECT_GE(*picked.begin(), 0);
  EXPECT_LE(*picked.rbegin(), 19);
}

TEST_F(PlayerTest, RandomPreviousWithEveryEntryGoneOnlyRewinds) {
  WritePlayList({"red.avi", "red.avi", "red.avi", "red.avi"});
  WriteSetting(kPlayListKey, "PlayingIndex", EncodeInteger(3));
  WriteSetting(kPlayListKey, "Random", EncodeInteger(1));
  TLumorixMainForm& form = StartPlayer();
  TLumorixPlayListForm& list = form.PlayListForm();
  for (int i = 0; i < list.Count(); ++i) list.LBPlayList.SetSelected(i, true);
  list.LBPlayListKeyUp(VK_DELETE);  // the Delete key: playback goes on
  ASSERT_EQ(list.Count(), 0);
  RenderCounter counter(form);
  form.BtPreviousClick();  // a pick among no entries: no division by zero, nothing new plays
  EXPECT_TRUE(errors.Boxes().empty());
  EXPECT_EQ(counter.Rendered(), 0);
  EXPECT_EQ(form.PlayingIndex, 3);
  EXPECT_EQ(form.TBPosition.Position(), 0);
}

TEST_F(PlayerTest, RateLadderBothWays) {
  TLumorixMainForm& form = StartPlayer();
  std::vector<std::wstring> up;
  for (int press = 0; press < 6; ++press) {
    form.BtRateUp.Click();
    up.push_back(form.LRateInd.Text());
  }
  EXPECT_EQ(up, (std::vector<std::wstring>{L"1.4x", L"2x", L"5x", L"1x", L"1.4x", L"2x"}));
  EXPECT_EQ(form.FilterGraph()->Rate(), 2.0);
  EXPECT_EQ(form.PlayRate, 2.0);
  std::vector<std::wstring> down;
  for (int press = 0; press < 5; ++press) {
    form.BtRateDown.Click();
    down.push_back(form.LRateInd.Text());
  }
  EXPECT_EQ(down, (std::vector<std::wstring>{L"1.4x", L"1x", L"0.5x", L"0.2x", L"1x"}));
}

TEST_F(PlayerTest, RestoredRateShowsButTheLadderStartsAtOne) {
  WriteSetting(kVideoKey, "Rate", EncodeFloat(2.0));
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(form.LRateInd.Text(), L"2x");
  EXPECT_EQ(form.RateStep(), 0);
  form.BtRateUp.Click();
  EXPECT_EQ(form.LRateInd.Text(), L"1.4x");
}

TEST_F(PlayerTest, RateOffTheLadderStartsAndStaysAtOne) {
  WritePlayList({"short.avi", "red.avi"});
  WriteSetting(kVideoKey, "Rate", EncodeFloat(0.0));
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(form.LRateInd.Text(), L"1x");
  form.BtNextClick();
  EXPECT_EQ(form.PlayRate, 1.0);
  EXPECT_EQ(form.FilterGraph()->Rate(), 1.0);
}

TEST_F(PlayerTest, PauseThenNextPlaysWhileTheMenuStillOffersPlay) {
  WritePlayList({"red.avi", "blue.avi"});
  TLumorixMainForm& form = StartPlayer();
  form.ItPause.Click();
  EXPECT_TRUE(form.ItPlay.Visible());
  EXPECT_FALSE(form.ItPause.Visible());
  EXPECT_EQ(form.TB.Button(1).Caption(), L"Play");
  form.ItNext.Click();
  EXPECT_EQ(form.PlayingIndex, 1);
  ASSERT_TRUE(PumpUntil([&] { return form.FilterGraph()->State() == 3; }, milliseconds(5000)));
  EXPECT_TRUE(form.ItPlay.Visible());
  form.ItPlay.Click();
  EXPECT_TRUE(form.ItPause.Visible());
  EXPECT_EQ(form.TB.Button(1).Caption(), L"Pause");
}

TEST_F(PlayerTest, StopRewindsAndOnlyActsOnARunningGraph) {
  WritePlayList({"long.avi"});
  TLumorixMainForm& form = StartPlayer();
  ASSERT_TRUE(PumpUntil([&] { return form.TBPosition.Position() >= 2; }, milliseconds(6000)));
  ASSERT_GE(MediaPosition(form), 2000);
  form.BtStopClick();
  EXPECT_EQ(form.FilterGraph()->State(), 1);
  EXPECT_EQ(MediaPosition(form), 0);
  EXPECT_EQ(form.TBPosition.Position(), 0);
  EXPECT_TRUE(form.ItPlay.Visible());
  EXPECT_FALSE(form.ItPause.Visible());

  // Stopped already: a second Stop does nothing, not even the rewind.
  ASSERT_TRUE(SUCCEEDED(form.FilterGraph()->Seek(50'000'000)));
  form.BtStopClick();
  EXPECT_EQ(form.FilterGraph()->State(), 1);
  EXPECT_EQ(MediaPosition(form), 5000);
}

TEST_F(PlayerTest, PreviousRewindsAtTheFirstEntryAndStepsBackOtherwise) {
  WritePlayList({"long.avi", "blue.avi", "red-long.avi"});
  WriteSetting(kPlayListKey, "PlayingIndex", EncodeInteger(2));
  TLumorixMainForm& form = StartPlayer();
  RenderCounter counter(form);
  form.ItPrevious.Click();
  EXPECT_EQ(form.PlayingIndex, 1);
  form.BtPreviousClick();
  EXPECT_EQ(form.PlayingIndex, 0);
  EXPECT_EQ(counter.Rendered(), 2);

  // At the first entry, after two seconds of it: the same clip from its start, nothing new rendered.
  ASSERT_TRUE(PumpUntil([&] { return form.TBPosition.Position() >= 2; }, milliseconds(6000)));
  form.BtPreviousClick();
  EXPECT_EQ(form.PlayingIndex, 0);
  EXPECT_EQ(counter.Rendered(), 2);
  EXPECT_LT(MediaPosition(form), 1000);
  EXPECT_EQ(form.FilterGraph()->State(), 3);
}

TEST_F(PlayerTest, DoubleClickOnTheVideoLeavesScreenSaverMode) {
  WritePlayList({"red.avi"});
  TLumorixMainForm& form = StartPlayer();
  ScreenSaverMode = true;
  form.RunSettings();
  // The window the picture is drawn into: the video window itself, or a
  // legacy renderer's own, which drains its mouse messages to it.
  ASSERT_TRUE(form.DSVideoWindowEx2.Renderer());
  HWND picture = form.DSVideoWindowEx2.Renderer()->PictureWindow();
  ASSERT_NE(picture, nullptr);
  PostMessageW(picture, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
  ASSERT_TRUE(PumpUntil([&] { return !ScreenSaverMode; }, milliseconds(3000)));
  EXPECT_FALSE(form.Visible());
  ScreenSaverMode = false;
}

TEST_F(PlayerTest, DoubleClickOutsideScreenSaverModeDoesNothing) {
  TLumorixMainForm& form = StartPlayer();
  form.RunSettings();
  SendMessageW(form.DSVideoWindowEx2.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  EXPECT_TRUE(form.Visible());
}
