#include "player/engine/seek/ds_track_bar.h"

#include "ui/exception.h"

namespace lumorix::engine {

namespace {
constexpr UINT_PTR kTickTimer = 1;
}

class TDSTrackBar::TickWindow : public ui::Window {
 public:
  explicit TickWindow(TDSTrackBar& bar) : bar_(bar) {
    CreateOwn(L"LumorixSeekTimer", 0, WS_POPUP, 0, HWND_MESSAGE, {0, 0, 0, 0});
  }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    if (message != WM_TIMER || wParam != kTickTimer) return false;
    result = 0;
    bar_.Tick();
    return true;
  }

 private:
  TDSTrackBar& bar_;
};

TDSTrackBar::TDSTrackBar(HWND parent, const ui::Bounds& bounds, const ui::TrackBarDesign& design)
    : ui::TrackBar(parent, bounds, design), tickWindow_(std::make_unique<TickWindow>(*this)) {}

TDSTrackBar::~TDSTrackBar() {
  timerWanted_ = false;
  KillTimer(tickWindow_->Handle(), kTickTimer);
  SetFilterGraph(nullptr);
  tickWindow_.reset();
  seeking_.Reset();
}

void TDSTrackBar::SetFilterGraph(TFilterGraph* graph) {
  if (graph_) graph_->RemoveListener(this);
  graph_ = graph;
  if (graph_) graph_->AddListener(this);
}

void TDSTrackBar::GraphDestroyed() {
  seeking_.Reset();
  graph_ = nullptr;
}

void TDSTrackBar::SetTimerInterval(uint32_t interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Rearm();
}

void TDSTrackBar::Rearm() {
  KillTimer(tickWindow_->Handle(), kTickTimer);
  if (interval_ != 0 && timerWanted_ && !SetTimer(tickWindow_->Handle(), kTickTimer, interval_, nullptr))
    throw ui::EOutOfResources("Not enough timers available");
}

void TDSTrackBar::SetTimerWanted(bool wanted) {
  if (wanted == timerWanted_) return;
  timerWanted_ = wanted;
  Rearm();
}

void TDSTrackBar::ControlEvent(TGraphNotice notice, int param) {
  switch (notice) {
    case gnPlay:
      SetTimerWanted(Enabled());
      break;
    case gnPause:
      SetTimerWanted(false);
      break;
    case gnStop:
      completed_ = false;
      SetTimerWanted(false);
      break;
    case gnActive:
      completed_ = false;  // a graph that comes or goes is not at the end of its clip
      if (param == 1 && graph_)
        seeking_ = graph_->Query<IMediaSeeking>();
      else if (param == 0)
        seeking_.Reset();
      break;
    default:
      break;
  }
}

void TDSTrackBar::GraphEvent(long code, LONG_PTR, LONG_PTR) {
  if (code == EC_COMPLETE) {
    completed_ = true;
    if (timerWanted_) Tick();  // at the end now, not at the next tick
    return;
  }
  if (code != EC_CLOCK_CHANGED || !seeking_) return;
  SeekGraph(0);
  // A new clip starts at the start: the thumb leaves where the last one ended,
  // so a clip that states no length finds it there and empties the range.
  ui::TrackBar::SetPosition(Min());
}

void TDSTrackBar::Tick() {
  if (!seeking_ || dragging_) return;
  LONGLONG duration = 0, current = 0;
  if (FAILED(seeking_->GetDuration(&duration))) {
    // A clip that states no length (until the end of its stream gives one):
    // no range to drag the thumb along. Only from the start, where emptying
    // the range moves nothing and so does not look like the end of the clip.
    if (Position() == Min()) SetRange(0, 0);
    return;
  }
  if (completed_)
    current = duration;
  else if (FAILED(seeking_->GetCurrentPosition(&current)))
    return;
  auto durationMs = static_cast<uint32_t>(duration / 10000);
  auto currentMs = static_cast<uint32_t>(current / 10000);
  SetMin(0);
  SetMax(static_cast<int>(durationMs / interval_));
  ui::TrackBar::SetPosition(static_cast<int>(currentMs / interval_));
  if (OnTimer) OnTimer(currentMs, durationMs);
}

void TDSTrackBar::SetPosition(int64_t position) {
  if (Max() == Min()) return;
  if (position < Min()) position = Min();
  if (position > Max()) position = Max();
  if (!seeking_) return;
  LONGLONG duration = 0;
  if (FAILED(seeking_->GetDuration(&duration))) return;
  LONGLONG target = duration * (position - Min()) / (Max() - Min());
  SeekGraph(target);
  ui::TrackBar::SetPosition(static_cast<int>(position));
}

void TDSTrackBar::Restarted() {
  completed_ = false;
  ui::TrackBar::SetPosition(Min());
}

void TDSTrackBar::SeekOnRelease() {
  if (!seeking_ || Max() == 0) return;
  LONGLONG stop = 0;
  if (FAILED(seeking_->GetStopPosition(&stop))) return;
  LONGLONG target = stop * Position() / Max();
  SeekGraph(target);
}

void TDSTrackBar::SeekGraph(LONGLONG target) {
  completed_ = false;
  (void)graph_->Seek(target);
}

bool TDSTrackBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_LBUTTONDOWN:
      result = DefaultProc(message, wParam, lParam);
      dragging_ = true;
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      result = DefaultProc(message, wParam, lParam);
      if (message == WM_LBUTTONUP) SeekOnRelease();
      dragging_ = false;
      return true;
    default:
      return ui::TrackBar::OnMessage(message, wParam, lParam, result);
  }
}

}  // namespace lumorix::engine
