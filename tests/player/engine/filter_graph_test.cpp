// The filter graph on Wine's real DirectShow with real clips.
#include "player/engine/graph/filter_graph.h"

#include <gtest/gtest.h>

#include "common/format.h"
#include "player/engine/graph/direct_show_error.h"
#include "tests/support/gui_test.h"
#include "tests/support/media.h"

using namespace lumorix;
using namespace lumorix::engine;
using namespace lumorix::test;

namespace {

// Writes down every notice and event it hears, in order.
class RecordingListener : public IFilterGraphListener {
 public:
  void GraphEvent(long code, LONG_PTR, LONG_PTR) override { events.push_back(code); }
  void ControlEvent(TGraphNotice notice, int param) override { notices.emplace_back(notice, param); }
  std::vector<long> events;
  std::vector<std::pair<TGraphNotice, int>> notices;
};

// A member bringing a Video Renderer, as the video window does.
class RendererMember : public IFilterGraphMember {
 public:
  ComPtr<IBaseFilter> GetFilter() override { return filter; }
  std::wstring GetName() override { return L"Member renderer"; }
  void NotifyFilter(TMemberOperation operation, int) override {
    operations.push_back(operation);
    if (operation == moAdding)
      (void)CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter));
  }
  ComPtr<IBaseFilter> filter;
  std::vector<TMemberOperation> operations;
};

std::vector<ComPtr<IBaseFilter>> Filters(TFilterGraph& graph) {
  std::vector<ComPtr<IBaseFilter>> filters;
  ComPtr<IEnumFilters> enumerator;
  if (FAILED(graph.Query<IFilterGraph>()->EnumFilters(&enumerator))) return filters;
  ComPtr<IBaseFilter> filter;
  while (enumerator->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK) filters.push_back(filter);
  return filters;
}

int ConnectedPins(IBaseFilter* filter) {
  int connected = 0;
  ComPtr<IEnumPins> pins;
  filter->EnumPins(&pins);
  ComPtr<IPin> pin, peer;
  while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK)
    if (SUCCEEDED(pin->ConnectedTo(peer.ReleaseAndGetAddressOf()))) ++connected;
  return connected;
}

}  // namespace

TEST(FilterGraph, NoticesComeInTheOrderOfTheCalls) {
  TFilterGraph graph;
  RecordingListener listener;
  graph.AddListener(&listener);
  graph.SetActive(true);
  graph.ClearGraph();
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  EXPECT_TRUE(graph.Play());
  (void)graph.Pause();
  (void)graph.Stop();
  graph.SetActive(false);
  using N = std::pair<TGraphNotice, int>;
  EXPECT_EQ(listener.notices, (std::vector<N>{{gnActive, 1},
                                              {gnStop, 0},
                                              {gnRendering, 0},
                                              {gnRendered, 0},
                                              {gnPlay, 0},
                                              {gnPause, 0},
                                              {gnStop, 0},
                                              {gnActive, 0}}));
  graph.RemoveListener(&listener);
}

TEST(FilterGraph, MembersJoinEveryGraphAndSurviveClearing) {
  TFilterGraph graph;
  RendererMember member;
  graph.AddMember(&member);
  graph.SetActive(true);
  EXPECT_EQ(member.operations, (std::vector<TMemberOperation>{moAdding, moAdded}));
  ASSERT_EQ(graph.RenderFile(Clip("red.avi")), S_OK);
  EXPECT_GT(Filters(graph).size(), 1u);
  EXPECT_EQ(ConnectedPins(member.filter.Get()), 1);  // the clip went into the member's renderer
  ASSERT_TRUE(graph.Play());                         // as the player does before it moves on to the next clip
  ASSERT_TRUE(PumpUntil([&] { return graph.State() == 3; }, std::chrono::milliseconds(5000)));
  graph.ClearGraph();
  auto left = Filters(graph);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].Get(), member.filter.Get());
  EXPECT_EQ(ConnectedPins(member.filter.Get()), 0);
  graph.SetActive(false);
  EXPECT_EQ(member.operations, (std::vector<TMemberOperation>{moAdding, moAdded, moRemoving, moRemoved}));
  graph.RemoveMember(&member);
}

TEST(FilterGraph, WithoutAGraphCallsOnlyStore) {
  TFilterGraph graph;
  RecordingListener listener;
  graph.AddListener(&listener);
  EXPECT_EQ(graph.RenderFile(Clip("red.avi")), S_FALSE);
  EXPECT_FALSE(graph.Play());
  EXPECT_FALSE(graph.Pause());
  EXPECT_FALSE(graph.Stop());
  EXPECT_EQ(graph.State(), 0);
  EXPECT_EQ(graph.Duration(), 0);
  EXPECT_EQ(graph.Rate(), 1.0);
  graph.SetRate(2.0);
  EXPECT_EQ(graph.Rate(), 2.0);
  graph.SetVolume(-5);
  EXPECT_EQ(graph.Volume(), 0);
  graph.SetVolume(20000);
  EXPECT_EQ(graph.Volume(), 10000);
  graph.SetBalance(-20000);
  EXPECT_EQ(graph.Balance(), -10000);
  EXPECT_TRUE(listener.notices.empty());
  graph.RemoveListener(&listener);
}

TEST(FilterGraph, RenderFailureRaisesWithTheTextAndCodeAndSendsNoRendered) {
  TFilterGraph graph;
  RecordingListener listener;
  graph.SetActive(true);
  graph.AddListener(&listener);
  HRESULT code = S_OK;
  std::string message;
  try {
    graph.RenderFile(Clip("no-such-clip.avi"));
  } catch (const EDirectShowException& failure) {
    code = failure.Code();
    message = failure.what();
  }
  ASSERT_TRUE(FAILED(code));
  EXPECT_EQ(message, DirectShowErrorMessage(code));
  std::string suffix = Format(" ($%X).", static_cast<unsigned>(code));
  ASSERT_GE(message.size(), suffix.size());
  EXPECT_EQ(message.substr(message.size() - suffix.size()), suffix);
  ASSERT_EQ(listener.notices.size(), 1u);
  EXPECT_EQ(listener.notices[0].first, gnRendering);
  graph.RemoveListener(&listener);
}

TEST(FilterGraph, StateDurationAndTheRateKeptForLaterClips) {
  TFilterGraph graph;
  graph.SetRate(2.0);  // Wine's seeking ignores rates; the graph keeps and passes it on
  graph.SetActive(true);
  ASSERT_EQ(graph.RenderFile(Clip("long.avi")), S_OK);
  EXPECT_EQ(graph.Rate(), 2.0);
  EXPECT_NEAR(graph.Duration(), 95400, 10);
  EXPECT_EQ(graph.State(), 1);
  ASSERT_TRUE(graph.Play());
  ASSERT_TRUE(PumpUntil([&] { return graph.State() == 3; }, std::chrono::milliseconds(5000)));
  (void)graph.Pause();
  ASSERT_TRUE(PumpUntil([&] { return graph.State() == 2; }, std::chrono::milliseconds(5000)));
  EXPECT_TRUE(graph.Stop());
  EXPECT_EQ(graph.State(), 1);
}

TEST(FilterGraph, VolumeAndBalanceReachTheAudioRenderer) {
  TFilterGraph graph;
  graph.SetActive(true);
  graph.SetVolume(5000);
  graph.SetBalance(-1000);
  ASSERT_EQ(graph.RenderFile(Clip("tone.avi")), S_OK);  // re-applies both
  auto audio = graph.Query<IBasicAudio>();
  ASSERT_TRUE(audio);
  long volume = 0, balance = 0;
  audio->get_Volume(&volume);
  audio->get_Balance(&balance);
  EXPECT_EQ(volume, -752);
  EXPECT_EQ(balance, -7501);
  graph.SetVolume(10000);
  audio->get_Volume(&volume);
  EXPECT_EQ(volume, 0);
  graph.SetVolume(5000);
  graph.SetLinearVolume(false);
  audio->get_Volume(&volume);
  audio->get_Balance(&balance);
  EXPECT_EQ(volume, -5000);
  EXPECT_EQ(balance, -1000);
}

TEST(FilterGraph, QueuedEventsAreAllDeliveredByOnePump) {
  TFilterGraph graph;
  RecordingListener listener;
  graph.AddListener(&listener);
  graph.SetActive(true);
  ComPtr<IMediaEventSink> sink = graph.Query<IMediaEventSink>();
  ASSERT_TRUE(sink);
  sink->Notify(EC_USER + 1, 0, 0);
  sink->Notify(EC_USER + 2, 0, 0);
  graph.PumpEvents();
  EXPECT_EQ(listener.events, (std::vector<long>{EC_USER + 1, EC_USER + 2}));
  listener.events.clear();
  // Posted to the graph's window, the same events come through the message loop.
  sink->Notify(EC_USER + 3, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !listener.events.empty(); }, std::chrono::milliseconds(3000)));
  EXPECT_EQ(listener.events, (std::vector<long>{EC_USER + 3}));
  graph.RemoveListener(&listener);
}
