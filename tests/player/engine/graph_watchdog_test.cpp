// A graph whose Stop does not come back costs the caller a bounded wait, and
// a fresh graph takes its place.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/handle.h"
#include "player/engine/graph/filter_graph.h"
#include "tests/support/gui_test.h"
#include "tests/support/media.h"

using namespace lumorix;
using namespace lumorix::engine;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

class EmptyPins : public ComObject<IEnumPins> {
 public:
  HRESULT STDMETHODCALLTYPE Next(ULONG, IPin**, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumPins** clone) override {
    *clone = MakeCom<EmptyPins>().Detach();
    return S_OK;
  }
};

// A filter without pins whose Stop waits until the test lets it go: a stand-in
// for a splitter that lost its stream thread's wake-up (no real filter does
// this on request).
class StuckStopFilter : public ComObject<IBaseFilter> {
 public:
  explicit StuckStopFilter(HANDLE release) : release_(release) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IMediaFilter || iid == IID_IPersist) {
      *object = static_cast<IBaseFilter*>(this);
      AddRef();
      return S_OK;
    }
    return ComObject<IBaseFilter>::QueryInterface(iid, object);
  }
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override {
    *id = GUID_NULL;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Stop() override {
    if (state_ != State_Stopped) WaitForSingleObject(release_, INFINITE);
    state_ = State_Stopped;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Pause() override {
    state_ = State_Paused;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override {
    state_ = State_Running;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE* state) override {
    *state = state_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override {
    *clock = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override {
    *pins = MakeCom<EmptyPins>().Detach();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR, IPin** pin) override {
    *pin = nullptr;
    return VFW_E_NOT_FOUND;
  }
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override {
    *info = {};
    info->pGraph = graph_;
    if (graph_) graph_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR) override {
    graph_ = graph;  // not held: the graph holds the filter
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

 private:
  HANDLE release_;
  FILTER_STATE state_ = State_Stopped;
  IFilterGraph* graph_ = nullptr;
};

class Notices : public IFilterGraphListener {
 public:
  void GraphEvent(long, LONG_PTR, LONG_PTR) override {}
  void ControlEvent(TGraphNotice notice, int param) override {
    if (notice == gnActive) active.push_back(param);
  }
  std::vector<int> active;
};

bool PlaysWithin(TFilterGraph& graph, milliseconds timeout) {
  return PumpUntil([&] { return graph.State() == 3; }, timeout);
}

}  // namespace

TEST(GraphWatchdog, StuckStopIsGivenUpAndAFreshGraphPlaysTheNextClip) {
  UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  {
    TFilterGraph graph;
    graph.SetStopLimit(milliseconds(500));
    Notices notices;
    graph.AddListener(&notices);
    graph.SetActive(true);
    ASSERT_TRUE(
        SUCCEEDED(graph.Query<IFilterGraph>()->AddFilter(MakeCom<StuckStopFilter>(release.Get()).Get(), L"Stuck")));
    ASSERT_TRUE(SUCCEEDED(graph.RenderFile(Clip("red.avi"))));
    ASSERT_TRUE(graph.Play());
    ASSERT_TRUE(PlaysWithin(graph, milliseconds(5000)));

    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(graph.Stop());
    EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(3000));
    EXPECT_EQ(graph.GraphsGivenUp(), 1);
    EXPECT_TRUE(graph.Active());
    EXPECT_EQ(notices.active, (std::vector<int>{1, 0, 1}));  // the old graph went, a fresh one came

    graph.ClearGraph();
    ASSERT_TRUE(SUCCEEDED(graph.RenderFile(Clip("blue.avi"))));
    ASSERT_TRUE(graph.Play());
    EXPECT_TRUE(PlaysWithin(graph, milliseconds(5000)));
    EXPECT_TRUE(graph.Stop());
    EXPECT_EQ(graph.GraphsGivenUp(), 1);
    graph.RemoveListener(&notices);
  }
  SetEvent(release.Get());  // the given-up graph may now stop and go, on its own thread
}

// Wine's GStreamer splitter loses a stream thread after a seek in a clip with
// a picture and a sound track, and its Stop then never returns; on Windows the
// Stop returns at once. Either way the caller is back within the bound.
TEST(GraphWatchdog, SeekInAClipWithSoundThenStopHoldsTheCallerAtMostTheBound) {
  TFilterGraph graph;
  graph.SetStopLimit(milliseconds(1000));
  graph.SetActive(true);
  ASSERT_TRUE(SUCCEEDED(graph.RenderFile(Clip("tone3.avi"))));
  ASSERT_TRUE(graph.Play());
  ASSERT_TRUE(PlaysWithin(graph, milliseconds(5000)));
  PumpFor(milliseconds(500));
  LONGLONG start = 0;
  ASSERT_TRUE(SUCCEEDED(graph.Query<IMediaSeeking>()->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr,
                                                                   AM_SEEKING_NoPositioning)));
  PumpFor(milliseconds(300));

  auto begin = std::chrono::steady_clock::now();
  (void)graph.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - begin, milliseconds(2500));
  graph.ClearGraph();
  ASSERT_TRUE(SUCCEEDED(graph.RenderFile(Clip("tone.avi"))));
  ASSERT_TRUE(graph.Play());
  EXPECT_TRUE(PlaysWithin(graph, milliseconds(5000)));
  EXPECT_TRUE(graph.Stop());
}

// The graph's own seek stops the clip for the move and starts it again, so
// no splitter streams through it: the clip plays on from the new place and
// the next Stop comes back at once.
TEST(GraphWatchdog, SeekKeepsAClipWithSoundPlayingAndStoppable) {
  TFilterGraph graph;
  graph.SetActive(true);
  ASSERT_TRUE(SUCCEEDED(graph.RenderFile(Clip("tone3.avi"))));
  ASSERT_TRUE(graph.Play());
  ASSERT_TRUE(PlaysWithin(graph, milliseconds(5000)));
  PumpFor(milliseconds(1200));
  EXPECT_TRUE(SUCCEEDED(graph.Seek(0)));
  EXPECT_EQ(graph.State(), 3);

  auto position = [&] {
    LONGLONG current = 0;
    (void)graph.Query<IMediaSeeking>()->GetCurrentPosition(&current);
    return current / 10000;  // milliseconds
  };
  EXPECT_LT(position(), 800);
  EXPECT_TRUE(PumpUntil([&] { return position() >= 1000; }, milliseconds(4000))) << position();
  auto begin = std::chrono::steady_clock::now();
  EXPECT_TRUE(graph.Stop());
  EXPECT_LT(std::chrono::steady_clock::now() - begin, milliseconds(1000));
  EXPECT_EQ(graph.GraphsGivenUp(), 0);
}
