#include "player/engine/graph/filter_graph.h"

#include <algorithm>

#include "common/volume_curve.h"
#include "player/engine/graph/direct_show_error.h"
#include "player/engine/graph/graph_site_callback.h"
#include "player/engine/mf/mf_render.h"
#include "ui/window.h"

namespace lumorix::engine {

// Hidden window that receives the graph's event message on the GUI thread.
class TFilterGraph::EventWindow : public ui::Window {
 public:
  explicit EventWindow(TFilterGraph& graph) : graph_(graph) {
    CreateOwn(L"LumorixGraphEvents", 0, WS_POPUP, 0, HWND_MESSAGE, {0, 0, 0, 0});
  }

 protected:
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message != kGraphEventMessage) return false;
    result = 0;
    graph_.PumpEvents();
    return true;
  }

 private:
  TFilterGraph& graph_;
};

TFilterGraph::TFilterGraph() : eventWindow_(std::make_unique<EventWindow>(*this)) {}

TFilterGraph::~TFilterGraph() {
  SetActive(false);
  eventWindow_.reset();
}

void TFilterGraph::SetActive(bool active) {
  if (active == Active()) return;
  if (active)
    Activate();
  else
    Deactivate();
}

void TFilterGraph::Activate() {
  (void)CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph_));
  if (!graph_) return;
  if (SUCCEEDED(graph_.As(&events_))) {
    (void)events_->SetNotifyFlags(0);
    (void)events_->SetNotifyWindow(reinterpret_cast<OAHWND>(eventWindow_->Handle()), kGraphEventMessage,
                                   reinterpret_cast<LONG_PTR>(events_.Get()));
  }
  if (ComPtr<IObjectWithSite> withSite; SUCCEEDED(graph_.As(&withSite))) {
    ComPtr<GraphSiteCallback> callback = MakeCom<GraphSiteCallback>();
    // Both callbacks live on one object: the second call replaces the first site.
    (void)withSite->SetSite(static_cast<IAMGraphBuilderCallback*>(callback.Get()));
    (void)withSite->SetSite(static_cast<AMFilterGraphCallback*>(callback.Get()));
    site_ = static_cast<IAMGraphBuilderCallback*>(callback.Get());
  }
  (void)graph_->SetLogFile(0);
  for (IFilterGraphMember* member : std::vector(members_)) AddMemberFilter(member);
  if (OnActivate) OnActivate();
  Notify(gnActive, 1);
}

void TFilterGraph::Deactivate() {
  Notify(gnActive, 0);
  for (IFilterGraphMember* member : std::vector(members_)) RemoveMemberFilter(member);
  if (events_) {
    (void)events_->SetNotifyFlags(AM_MEDIAEVENT_NONOTIFY);
    events_.Reset();
  }
  (void)graph_->SetLogFile(0);
  site_.Reset();
  graph_.Reset();
}

void TFilterGraph::Notify(TGraphNotice notice, int param) {
  for (IFilterGraphListener* listener : std::vector(listeners_)) listener->ControlEvent(notice, param);
}

void TFilterGraph::AddMemberFilter(IFilterGraphMember* member) {
  member->NotifyFilter(moAdding, 0);
  std::wstring name = member->GetName();
  if (ComPtr<IBaseFilter> filter = member->GetFilter()) (void)graph_->AddFilter(filter.Get(), name.c_str());
  member->NotifyFilter(moAdded, 0);
}

void TFilterGraph::RemoveMemberFilter(IFilterGraphMember* member) {
  member->NotifyFilter(moRemoving, 0);
  if (ComPtr<IBaseFilter> filter = member->GetFilter()) (void)graph_->RemoveFilter(filter.Get());
  member->NotifyFilter(moRemoved, 0);
}

void TFilterGraph::AddMember(IFilterGraphMember* member) {
  members_.push_back(member);
  if (Active()) AddMemberFilter(member);
}

void TFilterGraph::RemoveMember(IFilterGraphMember* member) {
  auto found = std::find(members_.begin(), members_.end(), member);
  if (found == members_.end()) return;
  members_.erase(found);
  if (Active()) RemoveMemberFilter(member);
}

void TFilterGraph::AddListener(IFilterGraphListener* listener) { listeners_.push_back(listener); }

void TFilterGraph::RemoveListener(IFilterGraphListener* listener) {
  auto found = std::find(listeners_.begin(), listeners_.end(), listener);
  if (found != listeners_.end()) listeners_.erase(found);
}

void TFilterGraph::PumpEvents() {
  if (!events_) return;
  ComPtr<IMediaEventEx> events = events_;  // a listener may deactivate the graph
  long code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  // A listener may also trade this graph for another (SwapGraphs): what the
  // old one has still queued is the other component's to deliver now.
  auto swapped = [&] { return events_ && events_ != events; };
  while (!swapped() && events->GetEvent(&code, &param1, &param2, 0) == S_OK) {
    for (IFilterGraphListener* listener : std::vector(listeners_)) listener->GraphEvent(code, param1, param2);
    (void)events->FreeEventParams(code, param1, param2);
  }
}

void TFilterGraph::SwapGraphs(TFilterGraph& other) {
  Notify(gnActive, 0);
  other.Notify(gnActive, 0);
  std::swap(graph_, other.graph_);
  std::swap(events_, other.events_);
  std::swap(site_, other.site_);
  for (TFilterGraph* graph : {this, &other}) {
    if (!graph->events_) continue;
    (void)graph->events_->SetNotifyWindow(reinterpret_cast<OAHWND>(graph->eventWindow_->Handle()), kGraphEventMessage,
                                          reinterpret_cast<LONG_PTR>(graph->events_.Get()));
  }
  if (Active()) Notify(gnActive, 1);
  if (other.Active()) other.Notify(gnActive, 1);
}

std::optional<HRESULT> TFilterGraph::StopWatched() {
  auto control = Query<IMediaControl>();
  if (!control) return E_NOINTERFACE;
  std::optional<HRESULT> result = watchdog_.Call([control] { return control->Stop(); }, stopLimit_);
  if (!result) ReplaceWedgedGraph();
  return result;
}

void TFilterGraph::ReplaceWedgedGraph() {
  // Any call into the old graph may wait for the stuck one, so only the
  // listeners and members hear that it goes; its objects go with the stuck call.
  Notify(gnActive, 0);
  for (IFilterGraphMember* member : std::vector(members_)) {
    member->NotifyFilter(moRemoving, 0);
    member->NotifyFilter(moRemoved, 0);
  }
  watchdog_.Bury({std::move(graph_), std::move(events_), std::move(site_)});
  graph_.Reset();
  events_.Reset();
  site_.Reset();
  Activate();
}

bool TFilterGraph::Play() {
  auto control = Query<IMediaControl>();
  if (!control) return false;
  Notify(gnPlay, 0);
  HRESULT result = CheckDirectShow(control->Run());
  return result == S_OK || result == S_FALSE;
}

bool TFilterGraph::PlaySoon() {
  auto filter = Query<IMediaFilter>();
  ComPtr<IReferenceClock> clock;
  REFERENCE_TIME now = 0;
  if (!filter || FAILED(filter->GetSyncSource(&clock)) || !clock || FAILED(clock->GetTime(&now))) return Play();
  Notify(gnPlay, 0);
  constexpr REFERENCE_TIME kLead = 10 * 10000;  // 10 ms, in 100 ns units
  HRESULT result = CheckDirectShow(filter->Run(now + kLead));
  return result == S_OK || result == S_FALSE;
}

bool TFilterGraph::WaitForState(std::chrono::milliseconds limit) const {
  auto control = Query<IMediaControl>();
  OAFilterState state = 0;
  return control && control->GetState(static_cast<LONG>(limit.count()), &state) == S_OK;
}

bool TFilterGraph::Pause() {
  auto control = Query<IMediaControl>();
  if (!control) return false;
  Notify(gnPause, 0);
  return CheckDirectShow(control->Pause()) == S_OK;
}

bool TFilterGraph::Stop() {
  if (!Query<IMediaControl>()) return false;
  Notify(gnStop, 0);
  std::optional<HRESULT> result = StopWatched();
  return result && CheckDirectShow(*result) == S_OK;
}

HRESULT TFilterGraph::Seek(LONGLONG current) {
  auto seeking = Query<IMediaSeeking>();
  if (!seeking) return E_NOINTERFACE;
  auto control = Query<IMediaControl>();
  const int state = State();
  if (state == 2 || state == 3) {
    if (!StopWatched()) return E_ABORT;  // given up: the fresh graph has no clip
  }
  HRESULT result = seeking->SetPositions(&current, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
  if (state == 2 || state == 3) (void)control->Pause();
  if (state == 3) {
    // The picture at the new place is decoded while pausing; the clip then
    // goes on from there at once.
    (void)WaitForState(std::chrono::milliseconds(500));
    auto filter = Query<IMediaFilter>();
    ComPtr<IReferenceClock> clock;
    REFERENCE_TIME now = 0;
    if (filter && SUCCEEDED(filter->GetSyncSource(&clock)) && clock && SUCCEEDED(clock->GetTime(&now)))
      (void)filter->Run(now + 10 * 10000);
    else
      (void)control->Run();
  }
  return result;
}

int TFilterGraph::State() const {
  auto control = Query<IMediaControl>();
  if (!control) return 0;
  OAFilterState state = 0;
  if (FAILED(control->GetState(0, &state))) return 0;
  switch (state) {
    case State_Stopped:
      return 1;
    case State_Paused:
      return 2;
    case State_Running:
      return 3;
    default:
      return 0;
  }
}

HRESULT TFilterGraph::RenderFile(const std::wstring& fileName) {
  auto builder = Query<IGraphBuilder>();
  if (!builder) return S_FALSE;
  Notify(gnRendering, 0);
  HRESULT result = builder->RenderFile(fileName.c_str(), nullptr);
  // What DirectShow cannot read or decode goes through Media Foundation.
  result = CheckDirectShow(RenderFallback(builder.Get(), fileName, result, [this] { RemoveForeignFilters(); }));
  SetVolume(volume_);
  SetBalance(balance_);
  SetRate(rate_);
  Notify(gnRendered, 0);
  return result;
}

static std::vector<ComPtr<IBaseFilter>> FiltersOf(IFilterGraph* graph) {
  std::vector<ComPtr<IBaseFilter>> filters;
  ComPtr<IEnumFilters> enumerator;
  if (FAILED(graph->EnumFilters(&enumerator))) return filters;
  ComPtr<IBaseFilter> filter;
  while (enumerator->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK) filters.push_back(filter);
  return filters;
}

void TFilterGraph::ClearGraph() {
  if (!Active()) return;
  (void)Stop();
  RemoveForeignFilters();
}

void TFilterGraph::RemoveForeignFilters() {
  for (const auto& filter : FiltersOf(graph_.Get())) {
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(&pins))) continue;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) CheckDirectShow(pin->Disconnect());
  }
  std::vector<ComPtr<IBaseFilter>> remaining = FiltersOf(graph_.Get());
  for (IFilterGraphMember* member : members_) {
    ComPtr<IBaseFilter> own = member->GetFilter();
    std::erase_if(remaining, [&](const ComPtr<IBaseFilter>& filter) { return filter.Get() == own.Get(); });
  }
  for (const auto& filter : remaining) CheckDirectShow(graph_->RemoveFilter(filter.Get()));
}

void TFilterGraph::ApplyVolume() {
  if (auto audio = Query<IBasicAudio>()) (void)audio->put_Volume(VolumeToAttenuation(volume_, linearVolume_));
}

void TFilterGraph::ApplyBalance() {
  if (auto audio = Query<IBasicAudio>()) (void)audio->put_Balance(BalanceToAttenuation(balance_, linearVolume_));
}

void TFilterGraph::SetVolume(int volume) {
  volume_ = ClampVolume(volume);
  ApplyVolume();
}

void TFilterGraph::SetBalance(int balance) {
  balance_ = ClampBalance(balance);
  ApplyBalance();
}

void TFilterGraph::SetLinearVolume(bool linear) {
  if (linear == linearVolume_) return;
  linearVolume_ = linear;
  ApplyVolume();
  ApplyBalance();
}

void TFilterGraph::SetRate(double rate) {
  rate_ = rate;
  if (auto seeking = Query<IMediaSeeking>()) (void)seeking->SetRate(rate);
}

int TFilterGraph::Duration() const {
  auto seeking = Query<IMediaSeeking>();
  LONGLONG duration = 0;
  if (!seeking || FAILED(seeking->GetDuration(&duration))) return 0;
  return static_cast<int>(duration / 10000);
}

}  // namespace lumorix::engine
