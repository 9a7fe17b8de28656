#pragma once
// The seek bar: a horizontal track bar that follows the graph's media
// position once per TimerInterval and seeks the graph when the user lets go
// of the thumb or the program calls SetPosition.
#include <cstdint>
#include <functional>
#include <memory>

#include "player/engine/graph/filter_graph.h"
#include "ui/track_bar.h"

namespace lumorix::engine {

class TDSTrackBar : public ui::TrackBar, public IFilterGraphListener {
 public:
  TDSTrackBar(HWND parent, const ui::Bounds& bounds, const ui::TrackBarDesign& design);
  ~TDSTrackBar() override;

  void SetFilterGraph(TFilterGraph* graph);
  TFilterGraph* FilterGraph() const { return graph_; }
  void SetTimerInterval(uint32_t interval);
  uint32_t TimerInterval() const { return interval_; }
  // Fired after every update, positions in milliseconds.
  std::function<void(uint32_t currentPos, uint32_t stopPos)> OnTimer;

  // Moves the bar and seeks the graph there; nothing while the range is empty.
  void SetPosition(int64_t position);

  void GraphEvent(long code, LONG_PTR param1, LONG_PTR param2) override;
  void ControlEvent(TGraphNotice notice, int param) override;

  // The graph was sent back to the start of its clip by someone else (a repeat).
  void Restarted();
  // The graph is going away: forget it without unregistering.
  void GraphDestroyed();
  // One update from the graph's position, as the update timer runs it.
  void Tick();

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  class TickWindow;
  void SetTimerWanted(bool wanted);
  void Rearm();
  void SeekOnRelease();
  void SeekGraph(LONGLONG target);

  TFilterGraph* graph_ = nullptr;
  ComPtr<IMediaSeeking> seeking_;
  uint32_t interval_ = 1000;
  bool timerWanted_ = false;
  bool dragging_ = false;
  // The graph has rendered the clip to its end. Its position is then the stop
  // it read when it started (Wine's graph keeps the last clip's when this one's
  // length was not known yet); the end is where the clip stands.
  bool completed_ = false;
  std::unique_ptr<TickWindow> tickWindow_;
};

}  // namespace lumorix::engine
