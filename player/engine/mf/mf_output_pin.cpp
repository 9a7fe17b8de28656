#include "player/engine/mf/mf_output_pin.h"

#include <algorithm>
#include <cstring>

#include "player/engine/filters/texture_sample.h"
#include "player/engine/mf/mf_decoding_device.h"
#include "player/engine/mf/mf_source_filter.h"
#include "player/engine/filters/sample_allocator.h"

namespace lumorix::engine {

namespace {

constexpr DWORD kMovingCaps = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards;
constexpr DWORD kSeekingCaps =
    kMovingCaps | AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration | AM_SEEKING_CanGetCurrentPos;
// No stop set and no length known: play to the end of the stream.
constexpr LONGLONG kNoStop = MAXLONGLONG;

bool IsMediaTime(const GUID* format) { return !format || *format == TIME_FORMAT_MEDIA_TIME; }

// COM for the streaming thread, which calls into the renderers and Media Foundation.
class ThreadApartment {
 public:
  ThreadApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
  ~ThreadApartment() {
    if (ok_) CoUninitialize();
  }
  ThreadApartment(const ThreadApartment&) = delete;
  ThreadApartment& operator=(const ThreadApartment&) = delete;

 private:
  bool ok_;
};

}  // namespace

MfOutputPin::MfOutputPin(MfSourceFilter& filter, std::unique_ptr<MfStreamReader> reader, std::wstring name)
    : PinBase(filter, std::move(name), PINDIR_OUTPUT), reader_(std::move(reader)) {
  stop_ = reader_->Duration() > 0 ? reader_->Duration() : kNoStop;
}

LONGLONG MfOutputPin::Length() const { return reader_->Duration() > 0 ? reader_->Duration() : streamEnd_.load(); }

MfOutputPin::~MfOutputPin() { StopStreaming(false); }

HRESULT MfOutputPin::QueryInterface(REFIID iid, void** object) {
  return Query(iid, object, IID_IMediaSeeking, static_cast<IMediaSeeking*>(this));
}

HRESULT MfOutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) {
  if (!receivePin) return E_POINTER;
  {
    std::lock_guard hold(lock_);
    if (Connected()) return VFW_E_ALREADY_CONNECTED;
    if (active_) return VFW_E_NOT_STOPPED;
  }
  // Our types in order; the downstream pin takes the first it can.
  const OwnedMediaType* chosen = nullptr;
  HRESULT result = VFW_E_TYPE_NOT_ACCEPTED;
  for (const auto& candidate : reader_->MediaTypes()) {
    if (type && !candidate.Matches(*type)) continue;
    result = receivePin->ReceiveConnection(this, &candidate.Get());
    if (SUCCEEDED(result)) {
      chosen = &candidate;
      break;
    }
    result = VFW_E_NO_ACCEPTABLE_TYPES;
  }
  if (!chosen) return result;
  ComPtr<IMemInputPin> input;
  result = receivePin->QueryInterface(IID_PPV_ARGS(&input));
  if (SUCCEEDED(result))
    result = DecideAllocator(input.Get(), Kind() == MfStreamReader::Kind::kVideo ? 2 : 8,
                             reader_->BufferSize(chosen->Get()), allocator_);
  if (FAILED(result)) {
    (void)receivePin->Disconnect();
    return result;
  }
  std::lock_guard hold(lock_);
  input_ = input;
  layout_ = LayoutOf(chosen->Get());
  rendererStride_ = static_cast<long>(RowBytes(layout_, reader_->Width(layout_)));
  rendererBottomUp_ = layout_ == PixelLayout::kRgb32;
  Attach(receivePin, *chosen);
  return S_OK;
}

HRESULT MfOutputPin::Disconnect() {
  std::lock_guard hold(lock_);
  if (!Connected()) return S_FALSE;
  if (active_) return VFW_E_NOT_STOPPED;
  allocator_.Reset();
  input_.Reset();
  Detach();
  return S_OK;
}

HRESULT MfOutputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  if (Kind() == MfStreamReader::Kind::kAudio) return reader_->MediaTypes()[0].Matches(*type) ? S_OK : S_FALSE;
  return AcceptsPicture(*type) ? S_OK : S_FALSE;
}

bool MfOutputPin::AcceptsPicture(const AM_MEDIA_TYPE& type) const {
  // A renderer may ask for one of our layouts in rows of its own length; RGB either way up.
  if (type.majortype != MEDIATYPE_Video || type.formattype != FORMAT_VideoInfo ||
      type.cbFormat < sizeof(VIDEOINFOHEADER) || !type.pbFormat)
    return false;
  const auto& types = reader_->MediaTypes();
  if (std::none_of(types.begin(), types.end(), [&](const OwnedMediaType& ours) { return ours.Matches(type); }))
    return false;
  const auto& header = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
  PixelLayout layout = LayoutOf(type);
  if (layout != PixelLayout::kRgb32 && header.biHeight < 0) return false;
  return std::abs(header.biHeight) == reader_->Height(layout) && header.biWidth >= reader_->Width(layout);
}

void MfOutputPin::Active() {
  {
    std::lock_guard hold(lock_);
    active_ = true;
    if (!Connected() || !allocator_ || FAILED(allocator_->Commit())) return;
  }
  StartStreaming();
}

void MfOutputPin::Inactive() {
  {
    std::lock_guard hold(lock_);
    active_ = false;
    // Before the buffers go: the thread that fails to get one must see it is
    // being stopped, and not tell the renderer the stream has ended.
    quit_ = true;
    // A thread waiting for a free buffer wakes up with a failure.
    if (allocator_) (void)allocator_->Decommit();
  }
  StopStreaming(false);
}

void MfOutputPin::StartStreaming() {
  if (thread_.joinable()) thread_.join();  // one that ran to the end of the stream
  quit_ = false;
  delivered_ = start_;
  try {
    thread_ = std::thread([this] { Stream(); });
  } catch (...) {
    // Without a thread the renderer never gets data; the graph reports it cannot cue.
  }
}

void MfOutputPin::StopStreaming(bool flush) {
  quit_ = true;
  ComPtr<IPin> peer;
  {
    std::lock_guard hold(lock_);
    if (flush) peer = Peer();
  }
  // Flushing releases the samples the renderer holds, and with them a thread
  // blocked in Receive or waiting for a buffer.
  if (peer) (void)peer->BeginFlush();
  if (thread_.joinable()) thread_.join();
  if (peer) (void)peer->EndFlush();
}

void MfOutputPin::Restart(LONGLONG start) {
  bool streaming = false;
  {
    std::lock_guard hold(lock_);
    streaming = active_ && Connected();
  }
  if (streaming) StopStreaming(true);
  start_ = start;
  if (streaming) StartStreaming();
}

void MfOutputPin::Stream() {
  ThreadApartment apartment;
  ComPtr<IPin> peer = Peer();  // connections change only while stopped
  if (!peer) return;
  bool first = true;
  // A fresh reader is at the start already; a source that cannot seek could not go there.
  if (!(fresh_ && start_ == 0) && FAILED(reader_->Seek(start_))) {
    (void)peer->EndOfStream();
    return;
  }
  fresh_ = false;
  (void)peer->NewSegment(start_, stop_, rate_);
  while (!quit_) {
    MfStreamReader::Frame frame;
    HRESULT read = reader_->Read(frame);
    if (quit_) break;
    if (FAILED(read) || frame.end) {
      // Known before the renderer hears of the end: it then asks where the clip stops.
      if (streamEnd_ < furthest_) streamEnd_ = furthest_.load();
      (void)peer->EndOfStream();
      break;
    }
    if (frame.time >= stop_) {
      (void)peer->EndOfStream();
      break;
    }
    if (!frame.sample) continue;
    // The reader lands on the key frame before the target; what comes before the target is not shown.
    LONGLONG end = frame.time + std::max<LONGLONG>(frame.length, 1);
    if (end > furthest_) furthest_ = end;
    if (end <= start_) continue;
    bool delivered = Kind() == MfStreamReader::Kind::kVideo ? Deliver(frame, first) : DeliverAudio(frame, first);
    if (!delivered) {
      // A renderer that refused the sample is told the stream ends, unless it is being stopped or flushed.
      if (!quit_) (void)peer->EndOfStream();
      break;
    }
  }
}

void MfOutputPin::AdoptRendererType(IMediaSample* sample) {
  AM_MEDIA_TYPE* type = nullptr;
  if (sample->GetMediaType(&type) != S_OK || !type) return;
  if (AcceptsPicture(*type)) {
    // The renderer's rows: its width in pixels is the stride it wants.
    const auto& header = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat)->bmiHeader;
    layout_ = LayoutOf(*type);
    rendererStride_ = static_cast<long>((RowBytes(layout_, header.biWidth) + 3) & ~3);
    rendererBottomUp_ = layout_ == PixelLayout::kRgb32 && header.biHeight > 0;
    OwnedMediaType asked(type->majortype, type->subtype, type->formattype, type->pbFormat, type->cbFormat);
    asked.SetSampleSize(type->lSampleSize);
    Retype(asked);
  }
  DeleteMediaType(type);
}

bool MfOutputPin::Deliver(const MfStreamReader::Frame& frame, bool& first) {
  LONGLONG length = frame.length;
  if (length <= 0) {
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(reader_->MediaTypes()[0].Get().pbFormat);
    length = info->AvgTimePerFrame > 0 ? info->AvgTimePerFrame : 400000;
  }
  // A picture on the graphics card goes to the renderer as it is, in the texture it was decoded into.
  ComPtr<IUnknown> texture;
  UINT subresource = 0;
  if (!reader_->Turns() && DecodedTexture(frame.sample.Get(), texture, subresource)) {
    ComPtr<IMediaSample> carried;
    try {
      carried = MakeCom<TextureSample>(std::move(texture), subresource);
    } catch (...) {
      return false;
    }
    return Send(carried.Get(), frame.time, frame.time + length, first);
  }
  ComPtr<IMediaSample> sample;
  if (FAILED(allocator_->GetBuffer(&sample, nullptr, nullptr, 0))) return false;
  AdoptRendererType(sample.Get());
  BYTE* data = nullptr;
  int height = reader_->Height(layout_);
  long size = static_cast<long>(ImageBytes(layout_, rendererStride_, height));
  if (FAILED(sample->GetPointer(&data)) || sample->GetSize() < size ||
      rendererStride_ < RowBytes(layout_, reader_->Width(layout_)))
    return false;
  PictureTarget out;
  out.layout = layout_;
  out.width = reader_->Width(layout_);
  out.height = height;
  out.rows = rendererBottomUp_ ? data + static_cast<ptrdiff_t>(rendererStride_) * (height - 1) : data;
  out.stride = rendererBottomUp_ ? -rendererStride_ : rendererStride_;
  out.chroma = data + static_cast<ptrdiff_t>(rendererStride_) * height;
  out.chromaStride = rendererStride_;
  if (!reader_->CopyPicture(frame.sample.Get(), out)) return true;  // a sample without a picture is left out
  (void)sample->SetActualDataLength(size);
  return Send(sample.Get(), frame.time, frame.time + length, first);
}

bool MfOutputPin::DeliverAudio(const MfStreamReader::Frame& frame, bool& first) {
  ComPtr<IMFMediaBuffer> buffer;
  if (FAILED(frame.sample->ConvertToContiguousBuffer(&buffer))) return true;  // a bad sample is left out
  BYTE* data = nullptr;
  DWORD length = 0;
  if (FAILED(buffer->Lock(&data, nullptr, &length))) return true;
  struct Unlock {
    IMFMediaBuffer* buffer;
    ~Unlock() { (void)buffer->Unlock(); }
  } unlock{buffer.Get()};
  const auto* format = reinterpret_cast<const WAVEFORMATEX*>(reader_->MediaTypes()[0].Get().pbFormat);
  DWORD offset = 0;
  while (offset < length && !quit_) {
    ComPtr<IMediaSample> sample;
    if (FAILED(allocator_->GetBuffer(&sample, nullptr, nullptr, 0))) return false;
    BYTE* out = nullptr;
    if (FAILED(sample->GetPointer(&out))) return false;
    DWORD room = static_cast<DWORD>(sample->GetSize());
    room -= room % format->nBlockAlign;
    DWORD chunk = std::min(length - offset, room);
    if (chunk == 0) return false;
    std::memcpy(out, data + offset, chunk);
    (void)sample->SetActualDataLength(static_cast<long>(chunk));
    LONGLONG start = frame.time + static_cast<LONGLONG>(offset) * 10000000 / format->nAvgBytesPerSec;
    LONGLONG end = frame.time + static_cast<LONGLONG>(offset + chunk) * 10000000 / format->nAvgBytesPerSec;
    offset += chunk;
    if (!Send(sample.Get(), start, end, first)) return false;
  }
  return true;
}

bool MfOutputPin::Send(IMediaSample* sample, LONGLONG start, LONGLONG end, bool& first) {
  // Stream times count from the segment's start and run faster with the rate.
  REFERENCE_TIME streamStart = static_cast<REFERENCE_TIME>((start - start_) / rate_);
  REFERENCE_TIME streamEnd = static_cast<REFERENCE_TIME>((end - start_) / rate_);
  (void)sample->SetTime(&streamStart, &streamEnd);
  // The position in the clip, which renderers report as the graph's current position.
  LONGLONG mediaStart = start, mediaEnd = end;
  (void)sample->SetMediaTime(&mediaStart, &mediaEnd);
  (void)sample->SetSyncPoint(TRUE);
  (void)sample->SetDiscontinuity(first ? TRUE : FALSE);
  first = false;
  delivered_ = std::max(start, start_);
  return input_->Receive(sample) == S_OK && !quit_;
}

HRESULT MfOutputPin::GetCapabilities(DWORD* capabilities) {
  if (!capabilities) return E_POINTER;
  *capabilities = kSeekingCaps;
  if (!reader_->CanSeek()) *capabilities &= ~kMovingCaps;
  if (Length() < 0) *capabilities &= ~AM_SEEKING_CanGetDuration;
  if (Length() < 0 && stop_ == kNoStop) *capabilities &= ~AM_SEEKING_CanGetStopPos;
  return S_OK;
}

HRESULT MfOutputPin::CheckCapabilities(DWORD* capabilities) {
  if (!capabilities) return E_POINTER;
  DWORD wanted = *capabilities, ours = 0;
  (void)GetCapabilities(&ours);
  *capabilities &= ours;
  if (*capabilities == wanted) return S_OK;
  return *capabilities ? S_FALSE : E_FAIL;
}

HRESULT MfOutputPin::IsFormatSupported(const GUID* format) {
  if (!format) return E_POINTER;
  return IsMediaTime(format) ? S_OK : S_FALSE;
}

HRESULT MfOutputPin::QueryPreferredFormat(GUID* format) {
  if (!format) return E_POINTER;
  *format = TIME_FORMAT_MEDIA_TIME;
  return S_OK;
}

HRESULT MfOutputPin::GetTimeFormat(GUID* format) { return QueryPreferredFormat(format); }

HRESULT MfOutputPin::IsUsingTimeFormat(const GUID* format) {
  if (!format) return E_POINTER;
  return IsMediaTime(format) ? S_OK : S_FALSE;
}

HRESULT MfOutputPin::SetTimeFormat(const GUID* format) {
  if (!format) return E_POINTER;
  return IsMediaTime(format) ? S_OK : E_INVALIDARG;
}

HRESULT MfOutputPin::GetDuration(LONGLONG* duration) {
  if (!duration) return E_POINTER;
  // A length not yet known is not guessed: the seek bar then stays where it is.
  *duration = Length();
  if (*duration >= 0) return S_OK;
  *duration = 0;
  return E_NOTIMPL;
}

HRESULT MfOutputPin::GetStopPosition(LONGLONG* stop) {
  if (!stop) return E_POINTER;
  *stop = stop_;
  if (*stop != kNoStop) return S_OK;
  // Where the clip ends is known once its stream has ended; asked before, the
  // answer would be a time no seek could use.
  *stop = Length();
  if (*stop >= 0) return S_OK;
  *stop = 0;
  return E_NOTIMPL;
}

HRESULT MfOutputPin::GetCurrentPosition(LONGLONG* current) {
  if (!current) return E_POINTER;
  *current = delivered_;
  return S_OK;
}

HRESULT MfOutputPin::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                       const GUID* sourceFormat) {
  if (!target) return E_POINTER;
  if (!IsMediaTime(targetFormat) || !IsMediaTime(sourceFormat)) return E_INVALIDARG;
  *target = source;
  return S_OK;
}

HRESULT MfOutputPin::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) {
  DWORD currentHow = currentFlags & AM_SEEKING_PositioningBitsMask;
  DWORD stopHow = stopFlags & AM_SEEKING_PositioningBitsMask;
  if ((currentHow != AM_SEEKING_NoPositioning && !current) || (stopHow != AM_SEEKING_NoPositioning && !stop))
    return E_POINTER;
  if (currentHow != AM_SEEKING_NoPositioning && !reader_->CanSeek()) return E_NOTIMPL;
  LONGLONG length = Length();
  LONGLONG last = length >= 0 ? length : kNoStop;
  LONGLONG start = start_;
  if (currentHow == AM_SEEKING_AbsolutePositioning)
    start = *current;
  else if (currentHow == AM_SEEKING_RelativePositioning)
    start = start_ + *current;
  start = std::clamp<LONGLONG>(start, 0, last);
  LONGLONG end = stop_;
  if (stopHow == AM_SEEKING_AbsolutePositioning)
    end = *stop;
  else if (stopHow == AM_SEEKING_RelativePositioning)
    end = stop_ == kNoStop ? kNoStop : stop_ + *stop;
  else if (stopHow == AM_SEEKING_IncrementalPositioning)
    end = start + *stop;
  if (stopHow != AM_SEEKING_NoPositioning) stop_ = std::clamp<LONGLONG>(end, 0, last);
  if (currentHow != AM_SEEKING_NoPositioning) Restart(start);
  if (current && (currentFlags & AM_SEEKING_ReturnTime)) *current = start_;
  if (stop && (stopFlags & AM_SEEKING_ReturnTime)) *stop = stop_;
  return S_OK;
}

HRESULT MfOutputPin::GetPositions(LONGLONG* current, LONGLONG* stop) {
  if (current) *current = delivered_;
  return stop ? GetStopPosition(stop) : S_OK;
}

HRESULT MfOutputPin::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
  if (earliest) *earliest = 0;
  if (latest) *latest = std::max<LONGLONG>(Length(), furthest_);
  return S_OK;
}

HRESULT MfOutputPin::SetRate(double rate) {
  if (rate <= 0) return E_INVALIDARG;
  if (rate == rate_) return S_OK;
  // The new rate takes effect from where the picture or sound is now.
  bool streaming = false;
  {
    std::lock_guard hold(lock_);
    streaming = active_ && Connected();
  }
  LONGLONG from = streaming ? delivered_.load() : start_;
  if (streaming) StopStreaming(true);
  rate_ = rate;
  start_ = from;
  if (streaming) StartStreaming();
  return S_OK;
}

HRESULT MfOutputPin::GetRate(double* rate) {
  if (!rate) return E_POINTER;
  *rate = rate_;
  return S_OK;
}

HRESULT MfOutputPin::GetPreroll(LONGLONG* preroll) {
  if (!preroll) return E_POINTER;
  *preroll = 0;
  return S_OK;
}

}  // namespace lumorix::engine
