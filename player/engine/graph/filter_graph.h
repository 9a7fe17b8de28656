#pragma once
// The player's DirectShow filter graph and the hub its engine parts attach to.
// Graph events arrive as WM_APP + 1 on a hidden window of the GUI thread and
// reach every listener in registration order.
#include <windows.h>
#include "platform/dshow.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/com.h"
#include "player/engine/graph/graph_contracts.h"
#include "player/engine/graph/graph_watchdog.h"

namespace lumorix::engine {

enum TGraphMode { gmNormal };

inline constexpr UINT kGraphEventMessage = WM_APP + 1;

class TFilterGraph {
 public:
  TFilterGraph();
  ~TFilterGraph();
  TFilterGraph(const TFilterGraph&) = delete;
  TFilterGraph& operator=(const TFilterGraph&) = delete;

  bool Active() const { return static_cast<bool>(graph_); }
  void SetActive(bool active);
  TGraphMode Mode() const { return gmNormal; }
  bool GraphEdit() const { return graphEdit_; }
  void SetGraphEdit(bool graphEdit) { graphEdit_ = graphEdit; }
  bool LinearVolume() const { return linearVolume_; }
  void SetLinearVolume(bool linear);
  std::function<void()> OnActivate;

  [[nodiscard]] bool Play();
  // Runs a paused graph, whose first picture already waits in its renderer,
  // with its clock started a moment from now rather than after the
  // framework's own margin for filters that still have to start (Wine's
  // graph waits 200 ms): for a clip that takes over from another at once.
  [[nodiscard]] bool PlaySoon();
  [[nodiscard]] bool Pause();
  // Waits up to `limit` for a change of state to finish (a pause that
  // decodes the first picture); true when the graph is in a settled state.
  bool WaitForState(std::chrono::milliseconds limit) const;
  [[nodiscard]] bool Stop();
  // 0 no graph, 1 stopped, 2 paused, 3 playing.
  int State() const;
  HRESULT RenderFile(const std::wstring& fileName);
  // Moves the clip to `current` (100 ns units); where it stops is left to the
  // clip (Wine's graph would keep a stop given here for every later clip). A
  // running or paused graph is stopped for the seek and put back as it was,
  // without notices: some splitters lose a stream thread when seeked while
  // streaming (Wine's GStreamer parser, in a clip with picture and sound),
  // and the clip then stalls; a stopped graph only takes the new position.
  HRESULT Seek(LONGLONG current);
  void ClearGraph();

  void SetVolume(int volume);
  int Volume() const { return volume_; }
  void SetBalance(int balance);
  int Balance() const { return balance_; }
  void SetRate(double rate);
  double Rate() const { return rate_; }
  // Clip length in milliseconds; 0 without a graph.
  int Duration() const;

  void AddMember(IFilterGraphMember* member);
  void RemoveMember(IFilterGraphMember* member);
  void AddListener(IFilterGraphListener* listener);
  void RemoveListener(IFilterGraphListener* listener);

  // An interface of the graph; empty when there is no graph or it lacks one.
  template <typename Interface>
  ComPtr<Interface> Query() const {
    ComPtr<Interface> result;
    if (graph_) (void)graph_.As(&result);
    return result;
  }

  // Drains every queued graph event to the listeners.
  void PumpEvents();

  // Trades graphs with `other`: each keeps its members, listeners, volume,
  // balance and rate, and hears its own graph's events from now on. For a
  // clip built and paused beside the playing one, to take its place at once;
  // the members must trade the filters they put into the graphs at the same
  // time. Listeners hear gnActive 0 and 1, so they let go of the old graph's
  // interfaces and take the new one's.
  void SwapGraphs(TFilterGraph& other);

  // Stop waits at most this long for the graph (it waits for the streaming
  // threads of every filter); a graph that does not answer in time is given
  // up and a fresh one takes its place. Run and Pause do not wait for them.
  void SetStopLimit(std::chrono::milliseconds limit) { stopLimit_ = limit; }
  // Graphs given up so far.
  int GraphsGivenUp() const { return watchdog_.Abandoned(); }

 private:
  class EventWindow;
  class SiteCallback;

  void Activate();
  void Deactivate();
  void Notify(TGraphNotice notice, int param);
  void AddMemberFilter(IFilterGraphMember* member);
  void RemoveMemberFilter(IFilterGraphMember* member);
  // Stops the graph under the watchdog; nothing when the graph was given up.
  std::optional<HRESULT> StopWatched();
  void ReplaceWedgedGraph();
  // Disconnects every filter and takes out all but the members'.
  void RemoveForeignFilters();
  void ApplyVolume();
  void ApplyBalance();

  bool graphEdit_ = false;
  bool linearVolume_ = true;
  int volume_ = 10000;
  int balance_ = 0;
  double rate_ = 1.0;
  ComPtr<IFilterGraph2> graph_;
  ComPtr<IMediaEventEx> events_;
  ComPtr<IUnknown> site_;
  std::vector<IFilterGraphMember*> members_;
  std::vector<IFilterGraphListener*> listeners_;
  std::unique_ptr<EventWindow> eventWindow_;
  GraphWatchdog watchdog_;
  std::chrono::milliseconds stopLimit_{4000};
};

}  // namespace lumorix::engine
