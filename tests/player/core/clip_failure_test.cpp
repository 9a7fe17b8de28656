// A clip that fails half-way (a decoder that gives up, a device that goes
// away) shows the failure once and the next entry plays; at start an entry
// that is gone leaves the start-up to go on with the next one. The failing
// decoder is played by a thread of the test raising the event through the
// graph's event sink, as a filter's streaming thread does.
#include <oleauto.h>

#include <thread>

#include "common/settings_layout.h"
#include "platform/text.h"
#include "player/core/clip_abort_watch.h"
#include "player/engine/graph/direct_show_error.h"
#include "tests/player/core/player_fixture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

constexpr int kStopped = 1;
constexpr int kPlaying = 3;
constexpr HRESULT kDeviceRemoved = static_cast<HRESULT>(0x887A0005);  // DXGI_ERROR_DEVICE_REMOVED

// What a filter's streaming thread does when it cannot go on.
void RaiseFromStream(TLumorixMainForm& form, long code, HRESULT result, const wchar_t* text = nullptr) {
  ComPtr<IMediaEventSink> sink = form.FilterGraph()->Query<IMediaEventSink>();
  ASSERT_TRUE(sink);
  std::thread stream([&] {
    // The text belongs to the event from here on: the graph frees it with the event.
    LONG_PTR second = text ? reinterpret_cast<LONG_PTR>(SysAllocString(text)) : 0;
    (void)sink->Notify(code, static_cast<LONG_PTR>(result), second);
  });
  stream.join();
}

class ClipFailureTest : public PlayerTest {
 protected:
  TLumorixMainForm& StartPlaying(const std::vector<std::string>& clips) {
    WritePlayList(clips);
    TLumorixMainForm& form = StartPlayer();
    EXPECT_TRUE(PumpUntil([&] { return State() == kPlaying; }, milliseconds(5000)));
    return form;
  }
  int State() const { return player->FilterGraph()->State(); }
  bool WaitPlaying(int index) {
    return PumpUntil([&] { return player->PlayingIndex == index && State() == kPlaying; }, milliseconds(3000));
  }
};

}  // namespace

TEST_F(ClipFailureTest, AClipThatFailsHalfWayIsShownOnceAndTheNextEntryPlays) {
  TLumorixMainForm& form = StartPlaying({"red-long.avi", "blue.avi", "red-long.avi"});
  ASSERT_EQ(form.PlayingIndex, 0);
  // Both streams of the clip report it.
  RaiseFromStream(form, EC_ERRORABORT, E_FAIL);
  RaiseFromStream(form, EC_ERRORABORT, E_FAIL);
  ASSERT_TRUE(WaitPlaying(1));
  PumpFor(milliseconds(300));
  ASSERT_EQ(errors.Boxes().size(), 1u) << "once for the clip";
  EXPECT_NE(errors.Boxes()[0].text.find(L"($80004005)."), std::wstring::npos) << Narrow(errors.Boxes()[0].text);
  EXPECT_EQ(errors.Boxes()[0].title, L"Lumorix - settings");

  RaiseFromStream(form, EC_ERRORABORTEX, kDeviceRemoved, L"The graphics card was removed");
  ASSERT_TRUE(WaitPlaying(2));
  PumpFor(milliseconds(300));
  ASSERT_EQ(errors.Boxes().size(), 2u);
  EXPECT_EQ(errors.Boxes()[1].text, L"The graphics card was removed ($887A0005).");
}

TEST_F(ClipFailureTest, WhenEveryEntryHasFailedTheLastStopsInsteadOfStandingStill) {
  TLumorixMainForm& form = StartPlaying({"red-long.avi", "red-long.avi"});
  RaiseFromStream(form, EC_ERRORABORT, kDeviceRemoved);
  ASSERT_TRUE(WaitPlaying(1));
  RaiseFromStream(form, EC_ERRORABORT, kDeviceRemoved);
  EXPECT_TRUE(PumpUntil([&] { return State() == kStopped; }, milliseconds(3000))) << "a frozen picture for ever";
  PumpFor(milliseconds(500));
  EXPECT_EQ(form.PlayingIndex, 1) << "one round, then no more";
  EXPECT_EQ(errors.Boxes().size(), 2u);
}

TEST_F(ClipFailureTest, WhatALastClipReportedAsItStoppedIsNoNewsOfTheNext) {
  TLumorixMainForm& form = StartPlaying({"red-long.avi", "blue.avi"});
  RaiseFromStream(form, EC_ERRORABORT, E_FAIL);  // still queued when the user moves on
  form.BtNextClick();
  PumpFor(milliseconds(500));
  EXPECT_EQ(form.PlayingIndex, 1);
  EXPECT_EQ(State(), kPlaying);
  EXPECT_TRUE(errors.Boxes().empty());
}

// A wallpaper that starts with Windows whose saved clip was deleted: the start
// step still runs, with the next entry on the desktop, and the saved second
// (the deleted clip's) is not applied to it.
TEST_F(ClipFailureTest, AtStartAClipThatIsGoneLeavesTheStartToTheNextEntry) {
  WriteSetting(kVideoKey, "Position", EncodeInteger(20));
  WritePlayList({"deleted-since-the-last-run.avi", "red-long.avi"});
  TLumorixMainForm& form = StartPlayer();
  EXPECT_TRUE(form.Timer.Enabled()) << "the create step went on";
  ASSERT_TRUE(PumpUntil([&] { return form.DSVideoWindowEx2.DesktopMode(); }, milliseconds(3000)));
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  EXPECT_EQ(form.PlayingIndex, 1);
  EXPECT_EQ(errors.Boxes().size(), 1u);
  PumpFor(milliseconds(1500));  // past the resume step
  LONGLONG position = 0;
  ASSERT_EQ(form.FilterGraph()->Query<IMediaSeeking>()->GetCurrentPosition(&position), S_OK);
  EXPECT_LT(position, 10 * 10000000LL) << "the next entry plays from its start";
}

TEST(AbortMessage, TheEventsOwnTextComesBeforeTheSystemsWithTheCode) {
  const std::wstring text = L"Decoder stalled";
  EXPECT_EQ(AbortMessage(E_FAIL, text.data(), text.size()), "Decoder stalled ($80004005).");
  EXPECT_EQ(AbortMessage(E_FAIL, nullptr, 0), engine::DirectShowErrorMessage(E_FAIL));
  EXPECT_EQ(AbortMessage(E_FAIL, text.data(), 0), engine::DirectShowErrorMessage(E_FAIL)) << "an empty text";
}
