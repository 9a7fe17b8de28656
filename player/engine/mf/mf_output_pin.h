#pragma once
// An output pin of the Media Foundation source filter: it offers its
// stream's media types in order of preference and connects with the first the
// downstream pin takes, pushes decoded samples from a streaming thread of its
// own, and seeks (the graph's seeking reaches it through the renderer
// downstream). A clip whose file does not state its length plays to the end
// of its stream, and has a length from then on.
#include <windows.h>
#include "platform/dshow.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/com.h"
#include "player/engine/mf/mf_stream_reader.h"
#include "player/engine/filters/pin_base.h"

namespace lumorix::engine {

class MfSourceFilter;

class MfOutputPin : public PinBase, public IMediaSeeking {
 public:
  MfOutputPin(MfSourceFilter& filter, std::unique_ptr<MfStreamReader> reader, std::wstring name);
  ~MfOutputPin();

  MfStreamReader::Kind Kind() const { return reader_->StreamKind(); }
  // Filter state changes, called with the filter's lock held.
  void Active();
  void Inactive();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return PinBase::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return PinBase::Release(); }

  // IPin
  HRESULT STDMETHODCALLTYPE Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE BeginFlush() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE EndFlush() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return E_UNEXPECTED; }

  // IMediaSeeking, in media time only.
  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD* capabilities) override;
  HRESULT STDMETHODCALLTYPE CheckCapabilities(DWORD* capabilities) override;
  HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE QueryPreferredFormat(GUID* format) override;
  HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID* format) override;
  HRESULT STDMETHODCALLTYPE IsUsingTimeFormat(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) override;
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) override;
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG* stop) override;
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* current) override;
  HRESULT STDMETHODCALLTYPE ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                              const GUID* sourceFormat) override;
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                         DWORD stopFlags) override;
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG* current, LONGLONG* stop) override;
  HRESULT STDMETHODCALLTYPE GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
  HRESULT STDMETHODCALLTYPE SetRate(double rate) override;
  HRESULT STDMETHODCALLTYPE GetRate(double* rate) override;
  HRESULT STDMETHODCALLTYPE GetPreroll(LONGLONG* preroll) override;

 protected:
  std::vector<OwnedMediaType> Offered() const override { return reader_->MediaTypes(); }

 private:
  // The clip's length: the file's, or where its stream was found to end; -1 while neither is known.
  LONGLONG Length() const;
  void StartStreaming();
  // Ends the streaming thread; with `flush` the samples downstream are dropped first.
  void StopStreaming(bool flush);
  // Starts again from `start` if it was streaming.
  void Restart(LONGLONG start);
  void Stream();
  [[nodiscard]] bool Deliver(const MfStreamReader::Frame& frame, bool& first);
  [[nodiscard]] bool DeliverAudio(const MfStreamReader::Frame& frame, bool& first);
  [[nodiscard]] bool Send(IMediaSample* sample, LONGLONG start, LONGLONG end, bool& first);
  void AdoptRendererType(IMediaSample* sample);
  [[nodiscard]] bool AcceptsPicture(const AM_MEDIA_TYPE& type) const;

  std::unique_ptr<MfStreamReader> reader_;
  std::mutex lock_;  // the buffers, positions and the thread handle; never held while calling downstream
  ComPtr<IMemInputPin> input_;
  ComPtr<IMemAllocator> allocator_;
  bool active_ = false;
  // Written only while no thread streams.
  LONGLONG start_ = 0;
  std::atomic<LONGLONG> stop_{0};
  // The end of the furthest sample read, and where the stream ended (-1: not yet).
  std::atomic<LONGLONG> furthest_{0};
  std::atomic<LONGLONG> streamEnd_{-1};
  bool fresh_ = true;  // nothing read yet: the reader is at the start
  double rate_ = 1.0;
  std::thread thread_;
  std::atomic<bool> quit_{false};
  std::atomic<LONGLONG> delivered_{0};
  // The renderer's picture layout, which it may change with a sample's type.
  PixelLayout layout_ = PixelLayout::kRgb32;
  long rendererStride_ = 0;
  bool rendererBottomUp_ = true;
};

}  // namespace lumorix::engine
