#pragma once
// A DirectShow filter that takes a decoder's 4:2:0 YUV (I420, YV12 or NV12)
// and hands on 32-bit RGB shrunk to fit a given size, shape kept. It stands
// in front of a renderer that takes RGB only (Wine's Video Renderer, Windows'
// without DirectDraw), which would otherwise be given the whole picture
// converted to RGB by the decoder and shrink it through GDI on every frame:
// four bytes a pixel of a picture far larger than the screens, carried,
// converted and then mostly thrown away. Here one pass reads the YUV and
// writes only what is shown. Seeking goes through to the decoder.
#include <windows.h>
#include "platform/dshow.h"

#include <atomic>
#include <mutex>
#include <optional>

#include "common/yuv420_planes.h"
#include "platform/com.h"
#include "player/engine/filter_base.h"
#include "player/engine/mf_stream_reader.h"
#include "player/engine/pin_base.h"

namespace lumorix::engine {

class PictureShrinker;

// Takes the decoder's pictures and passes the stream's events on.
class ShrinkerInputPin : public PinBase, public IMemInputPin {
 public:
  explicit ShrinkerInputPin(PictureShrinker& filter);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return PinBase::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return PinBase::Release(); }

  // IPin
  HRESULT STDMETHODCALLTYPE Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override;
  HRESULT STDMETHODCALLTYPE BeginFlush() override;
  HRESULT STDMETHODCALLTYPE EndFlush() override;
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  // IMemInputPin
  HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override;
  HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
  HRESULT STDMETHODCALLTYPE ReceiveMultiple(IMediaSample** samples, long count, long* done) override;
  HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override { return S_OK; }

 protected:
  std::vector<OwnedMediaType> Offered() const override { return {}; }

 private:
  PictureShrinker& filter_;
  ComPtr<IMemAllocator> allocator_;
  std::atomic<bool> flushing_{false};
};

// Hands RGB to the renderer and passes its seeking on to the decoder.
class ShrinkerOutputPin : public PinBase, public IMediaSeeking {
 public:
  explicit ShrinkerOutputPin(PictureShrinker& filter);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return PinBase::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return PinBase::Release(); }

  // Filter state changes: the buffers are there only while not stopped.
  void Active();
  void Inactive();
  // One picture from the decoder, converted and sent on.
  HRESULT Deliver(IMediaSample* in);

  // IPin
  HRESULT STDMETHODCALLTYPE Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE BeginFlush() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE EndFlush() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return E_UNEXPECTED; }

  // IMediaSeeking: the decoder's, asked through the input's connection.
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
  std::vector<OwnedMediaType> Offered() const override;

 private:
  [[nodiscard]] bool Accepts(const AM_MEDIA_TYPE& type) const;
  // The renderer may ask for other rows (its own stride, top-down) with a sample.
  void AdoptRendererType(IMediaSample* sample);
  ComPtr<IMediaSeeking> Upstream() const;

  PictureShrinker& filter_;
  // Set while connecting, read by the streaming thread.
  ComPtr<IMemInputPin> input_;
  ComPtr<IMemAllocator> allocator_;
  long stride_ = 0;  // bytes a row, negative for top-down rows
};

class PictureShrinker : public FilterBase {
 public:
  // Hands on pictures no larger than `limit`.
  explicit PictureShrinker(SIZE limit);

  ShrinkerInputPin* Input() { return &input_; }
  ShrinkerOutputPin* Output() { return &output_; }
  // The picture the input takes, and its shrunk size; zero until connected.
  struct Source {
    GUID subtype = GUID_NULL;
    int width = 0, height = 0;              // the picture shown
    int bufferWidth = 0, bufferHeight = 0;  // the picture in the buffer, which may be padded
    REFERENCE_TIME frameTime = 0;
  };
  Source Picture() const;
  SIZE Shrunk() const;
  // Whether the input can take `type`: 4:2:0 YUV, top-down, of any size.
  static bool TakesYuv(const AM_MEDIA_TYPE& type);
  // The 4:2:0 layout a subtype names.
  static std::optional<Yuv420Order> OrderOf(const GUID& subtype);

 protected:
  std::vector<IPin*> Pins() override;
  void Activate() override { output_.Active(); }
  void Deactivate() override { output_.Inactive(); }

 private:
  friend class ShrinkerInputPin;
  void SetPicture(const Source& picture);

  const SIZE limit_;
  ShrinkerInputPin input_{*this};
  ShrinkerOutputPin output_{*this};
  mutable std::mutex pictureLock_;
  Source picture_;
};

}  // namespace lumorix::engine
