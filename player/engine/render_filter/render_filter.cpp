#include "player/engine/render_filter/render_filter.h"

#include <d3d11.h>

#include <mferror.h>

#include <chrono>

#include "common/present_schedule.h"
#include "player/engine/filters/texture_sample.h"

namespace lumorix::engine {

namespace {

// MR_VIDEO_ACCELERATION_SERVICE: where a renderer offers its device to decoders.
constexpr GUID kAccelerationService = {0xefef5175, 0x5c7d, 0x4ce2, {0xbb, 0xbd, 0x34, 0xff, 0x8b, 0xca, 0x65, 0x54}};

}  // namespace

RenderFilter::RenderFilter(std::shared_ptr<VideoPresenter> presenter, std::shared_ptr<PictureLane> lane)
    : FilterBase(kRenderFilterClass), presenter_(std::move(presenter)), lane_(std::move(lane)) {}

HRESULT RenderFilter::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IAMFilterMiscFlags)
    *object = static_cast<IAMFilterMiscFlags*>(this);
  else if (iid == IID_IMediaSeeking)
    *object = static_cast<IMediaSeeking*>(this);
  else if (iid == IID_IMFGetService)
    *object = static_cast<IMFGetService*>(this);
  if (!*object) return FilterBase::QueryInterface(iid, object);
  AddRef();
  return S_OK;
}

void RenderFilter::Connected(const PictureFormat& format) { presenter_->SetFormat(*lane_, format); }

HRESULT RenderFilter::GetService(REFGUID service, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (service != kAccelerationService || !presenter_->LendsDevice()) return MF_E_UNSUPPORTED_SERVICE;
  ComPtr<IMFDXGIDeviceManager> manager = presenter_->DeviceManager();
  return manager ? manager->QueryInterface(iid, object) : MF_E_UNSUPPORTED_SERVICE;
}

HRESULT RenderFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  HRESULT result = FilterBase::JoinFilterGraph(graph, name);
  ComPtr<IMediaEventSink> events;
  if (graph) (void)graph->QueryInterface(IID_PPV_ARGS(&events));
  events_ = events.Get();
  return result;
}

HRESULT RenderFilter::SetSyncSource(IReferenceClock* clock) {
  HRESULT result = FilterBase::SetSyncSource(clock);
  std::lock_guard hold(stream_);
  clock_ = clock;
  return result;
}

void RenderFilter::Activate() {
  std::lock_guard hold(stream_);
  ended_ = completed_ = pauseShown_ = false;
  droppedInARow_ = 0;
}

void RenderFilter::Deactivate() {
  std::lock_guard hold(stream_);
  wake_.notify_all();  // a picture waiting for its time gives up; the last one shown stays up
}

HRESULT RenderFilter::Stop() { return FilterBase::Stop(); }

HRESULT RenderFilter::Pause() {
  bool fromRunning = State() == State_Running;
  HRESULT result = FilterBase::Pause();
  std::lock_guard hold(stream_);
  if (fromRunning) pauseShown_ = true;  // the picture on the screen is the paused one
  wake_.notify_all();
  return result;
}

HRESULT RenderFilter::Run(REFERENCE_TIME start) {
  {
    std::lock_guard hold(stream_);
    start_ = start;
  }
  HRESULT result = FilterBase::Run(start);
  bool complete = false;
  {
    std::lock_guard hold(stream_);
    complete = ended_ && !completed_;
    completed_ = completed_ || complete;
    wake_.notify_all();
  }
  if (complete) Complete();  // the end came while paused
  return result;
}

HRESULT RenderFilter::Render(IMediaSample* sample) {
  REFERENCE_TIME start = 0, end = 0;
  HRESULT timed = sample->GetTime(&start, &end);
  if (timed == VFW_S_NO_STOP_TIME) end = start + 1;
  if (sample->IsPreroll() == S_OK) return S_OK;
  bool shown = false;
  std::unique_lock hold(stream_);
  if (ended_) return VFW_E_SAMPLE_REJECTED_EOS;
  for (;;) {
    if (flushing_) return S_FALSE;
    FILTER_STATE state = State();
    if (state == State_Stopped) return shown ? S_OK : VFW_E_WRONG_STATE;
    if (state == State_Paused) {
      // The first picture after a pause or a flush is shown at once, then held until the graph runs.
      if (!shown && !pauseShown_) {
        pauseShown_ = shown = true;
        hold.unlock();
        Show(sample);
        hold.lock();
        continue;
      }
      wake_.wait(hold);
      continue;
    }
    ComPtr<IReferenceClock> clock = clock_;
    REFERENCE_TIME now = 0;
    if (FAILED(timed) || !clock || FAILED(clock->GetTime(&now))) break;  // no time: shown as it comes
    now -= start_;
    PresentDecision decision = DecidePresent(start, now, end - start, droppedInARow_);
    if (decision.action == PresentAction::kWait) {
      wake_.wait_for(hold, std::chrono::microseconds(decision.wait / 10));
      continue;
    }
    if (decision.action == PresentAction::kDrop) {
      ++droppedInARow_;
      ++dropped_;
      hold.unlock();
      TellLate(start, now - start);
      return S_OK;
    }
    break;
  }
  droppedInARow_ = 0;
  hold.unlock();
  if (!shown) Show(sample);
  return S_OK;
}

void RenderFilter::Show(IMediaSample* sample) {
  PictureFrame frame;
  ComPtr<IPictureTexture> carried;
  ComPtr<IUnknown> texture;
  ComPtr<ID3D11Texture2D> texture2d;
  if (SUCCEEDED(sample->QueryInterface(IID_PPV_ARGS(&carried))) &&
      SUCCEEDED(carried->GetTexture(&texture, &frame.subresource)) && SUCCEEDED(texture.As(&texture2d))) {
    frame.texture = texture2d.Get();
  } else {
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !data) return;
    frame.data = data;
    frame.size = static_cast<size_t>(sample->GetActualDataLength());
  }
  if (presenter_->Show(*lane_, frame)) ++presented_;
}

void RenderFilter::TellLate(REFERENCE_TIME start, REFERENCE_TIME late) {
  ComPtr<IPin> peer = input_.Peer();
  ComPtr<IQualityControl> quality;
  if (!peer || FAILED(peer.As(&quality))) return;
  Quality notice{};
  notice.Type = Famine;
  notice.Proportion = 1000 * 2 / 3;  // a third fewer pictures would keep up
  notice.Late = late;
  notice.TimeStamp = start;
  (void)quality->Notify(static_cast<IBaseFilter*>(this), notice);
}

HRESULT RenderFilter::StreamEnded() {
  bool complete = false;
  {
    std::lock_guard hold(stream_);
    if (flushing_ || State() == State_Stopped) return S_OK;
    ended_ = true;
    complete = State() == State_Running && !completed_;
    completed_ = completed_ || complete;
  }
  if (complete) Complete();
  return S_OK;
}

void RenderFilter::Complete() {
  if (events_) (void)events_->Notify(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this)));
}

HRESULT RenderFilter::BeginFlush() {
  std::lock_guard hold(stream_);
  flushing_ = true;
  wake_.notify_all();
  return S_OK;
}

HRESULT RenderFilter::EndFlush() {
  std::lock_guard hold(stream_);
  flushing_ = false;
  // A seek: the new position's first picture shows even while paused, and its end comes anew.
  ended_ = completed_ = pauseShown_ = false;
  droppedInARow_ = 0;
  return S_OK;
}

HRESULT RenderFilter::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) {
  std::lock_guard hold(stream_);
  droppedInARow_ = 0;  // sample times count from the segment's start, which the stream time follows
  return S_OK;
}

ComPtr<IMediaSeeking> RenderFilter::SeekingUpstream() const { return SeekingOf(input_.Peer()); }

}  // namespace lumorix::engine
