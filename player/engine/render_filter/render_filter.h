#pragma once
// The player's own video renderer, a DirectShow filter: it presents each
// picture at its time on the graph's clock (an early one waits, a late one is
// dropped and the decoder told through quality control), shows the first
// picture while paused and keeps the last one while paused or stopped, turns
// the end of the stream into EC_COMPLETE, and lets a flush or a new segment
// start the schedule again. The graph sees a renderer (IAMFilterMiscFlags);
// seeking goes through to the decoder. Drawing is the presenter's.
#include <windows.h>
#include "platform/dshow.h"
#include <mfidl.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/com.h"
#include "player/engine/d3d11/video_presenter.h"
#include "player/engine/filters/filter_base.h"
#include "player/engine/filters/upstream_seeking.h"
#include "player/engine/render_filter/render_input_pin.h"

namespace lumorix::engine {

// {3E7A1C52-8F40-4B9D-A6E2-71C95D0F4B18}: made in-process only, never registered.
inline constexpr CLSID kRenderFilterClass = {
    0x3e7a1c52, 0x8f40, 0x4b9d, {0xa6, 0xe2, 0x71, 0xc9, 0x5d, 0x0f, 0x4b, 0x18}};

class RenderFilter final : public FilterBase, public IAMFilterMiscFlags, public UpstreamSeeking, public IMFGetService {
 public:
  // Its pictures go into `lane` of the presenter.
  RenderFilter(std::shared_ptr<VideoPresenter> presenter, std::shared_ptr<PictureLane> lane);

  RenderInputPin* Input() { return &input_; }
  VideoPresenter& Presenter() const { return *presenter_; }
  // Pictures shown and dropped since the filter was made.
  long Presented() const { return presented_; }
  long Dropped() const { return dropped_; }
  // The input's format: the presenter's from now on.
  void Connected(const PictureFormat& format);

  // From the input pin, on the streaming thread.
  HRESULT Render(IMediaSample* sample);
  HRESULT StreamEnded();
  HRESULT BeginFlush();
  HRESULT EndFlush();
  HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return FilterBase::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return FilterBase::Release(); }
  // IMediaFilter, IBaseFilter
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override;
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  // IAMFilterMiscFlags
  ULONG STDMETHODCALLTYPE GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }
  // IMFGetService: the device manager the decoders may decode into.
  HRESULT STDMETHODCALLTYPE GetService(REFGUID service, REFIID iid, void** object) override;


 protected:
  std::vector<IPin*> Pins() override { return {&input_}; }
  void Activate() override;
  void Deactivate() override;

 private:
  void Show(IMediaSample* sample);
  void Complete();
  void TellLate(REFERENCE_TIME start, REFERENCE_TIME late);
  // Seeking is the decoder's, asked through the input's connection.
  ComPtr<IMediaSeeking> SeekingUpstream() const override;

  std::shared_ptr<VideoPresenter> presenter_;
  std::shared_ptr<PictureLane> lane_;
  RenderInputPin input_{*this};
  IMediaEventSink* events_ = nullptr;  // not counted: the graph owns the filter
  // The schedule; never held while calling out of the filter.
  std::mutex stream_;
  std::condition_variable wake_;
  ComPtr<IReferenceClock> clock_;
  REFERENCE_TIME start_ = 0;
  bool flushing_ = false;
  bool ended_ = false;       // the end of the stream came
  bool completed_ = false;   // and EC_COMPLETE went
  bool pauseShown_ = false;  // a picture is up since the filter paused
  int droppedInARow_ = 0;
  std::atomic<long> presented_{0};
  std::atomic<long> dropped_{0};
};

}  // namespace lumorix::engine
