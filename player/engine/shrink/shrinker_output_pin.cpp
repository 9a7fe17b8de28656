#include <cstdlib>

#include "player/engine/filters/sample_allocator.h"
#include "player/engine/shrink/picture_shrinker.h"

namespace lumorix::engine {

namespace {

// Bottom-up 32-bit RGB of `size`, as a bitmap is by default.
OwnedMediaType RgbType(SIZE size, REFERENCE_TIME frameTime) {
  VIDEOINFOHEADER info{};
  info.AvgTimePerFrame = frameTime;
  BITMAPINFOHEADER& header = info.bmiHeader;
  header.biSize = sizeof header;
  header.biWidth = size.cx;
  header.biHeight = size.cy;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(size.cx) * 4 * static_cast<DWORD>(size.cy);
  OwnedMediaType type(MEDIATYPE_Video, MEDIASUBTYPE_RGB32, FORMAT_VideoInfo, &info, sizeof info);
  type.SetSampleSize(header.biSizeImage);
  return type;
}

const BITMAPINFOHEADER* RgbHeader(const AM_MEDIA_TYPE& type) {
  if (type.majortype != MEDIATYPE_Video || type.subtype != MEDIASUBTYPE_RGB32 || type.formattype != FORMAT_VideoInfo ||
      !type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER))
    return nullptr;
  return &reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
}

void CopyTimes(IMediaSample* from, IMediaSample* to) {
  REFERENCE_TIME start = 0, end = 0;
  HRESULT timed = from->GetTime(&start, &end);
  if (timed == VFW_S_NO_STOP_TIME) end = start + 1;
  if (SUCCEEDED(timed)) (void)to->SetTime(&start, &end);
  LONGLONG mediaStart = 0, mediaEnd = 0;
  if (from->GetMediaTime(&mediaStart, &mediaEnd) == S_OK) (void)to->SetMediaTime(&mediaStart, &mediaEnd);
  (void)to->SetSyncPoint(from->IsSyncPoint() == S_OK);
  (void)to->SetDiscontinuity(from->IsDiscontinuity() == S_OK);
  (void)to->SetPreroll(from->IsPreroll() == S_OK);
}

}  // namespace

ShrinkerOutputPin::ShrinkerOutputPin(PictureShrinker& filter)
    : PinBase(filter, L"RGB", PINDIR_OUTPUT), filter_(filter) {}

HRESULT ShrinkerOutputPin::QueryInterface(REFIID iid, void** object) {
  return Query(iid, object, IID_IMediaSeeking, static_cast<IMediaSeeking*>(this));
}

std::vector<OwnedMediaType> ShrinkerOutputPin::Offered() const {
  if (!filter_.Input()->Connected()) return {};
  return {RgbType(filter_.Shrunk(), filter_.Picture().frameTime)};
}

bool ShrinkerOutputPin::Accepts(const AM_MEDIA_TYPE& type) const {
  // The renderer may ask for its own row length, and for rows top-down.
  const BITMAPINFOHEADER* header = RgbHeader(type);
  SIZE size = filter_.Shrunk();
  return header && header->biBitCount == 32 && std::abs(header->biHeight) == size.cy && header->biWidth >= size.cx;
}

HRESULT ShrinkerOutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) {
  if (!receivePin) return E_POINTER;
  if (Connected()) return VFW_E_ALREADY_CONNECTED;
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  std::vector<OwnedMediaType> offered = Offered();
  if (offered.empty()) return VFW_E_NO_TYPES;
  const OwnedMediaType& ours = offered.front();
  if (type && !ours.Matches(*type)) return VFW_E_NO_ACCEPTABLE_TYPES;
  HRESULT result = receivePin->ReceiveConnection(this, &ours.Get());
  if (FAILED(result)) return result;
  ComPtr<IMemInputPin> input;
  result = receivePin->QueryInterface(IID_PPV_ARGS(&input));
  if (SUCCEEDED(result))
    result = engine::DecideAllocator(input.Get(), 2, static_cast<long>(ours.Get().lSampleSize), allocator_);
  if (FAILED(result)) {
    (void)receivePin->Disconnect();
    return result;
  }
  input_ = input;
  stride_ = filter_.Shrunk().cx * 4;
  Attach(receivePin, ours);
  return S_OK;
}

HRESULT ShrinkerOutputPin::Disconnect() {
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (!Connected()) return S_FALSE;
  allocator_.Reset();
  input_.Reset();
  Detach();
  return S_OK;
}

HRESULT ShrinkerOutputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  return Accepts(*type) ? S_OK : S_FALSE;
}

void ShrinkerOutputPin::Active() {
  if (allocator_) (void)allocator_->Commit();
}

void ShrinkerOutputPin::Inactive() {
  // A picture waiting for a free buffer wakes up with a failure.
  if (allocator_) (void)allocator_->Decommit();
}

void ShrinkerOutputPin::AdoptRendererType(IMediaSample* sample) {
  AM_MEDIA_TYPE* type = nullptr;
  if (sample->GetMediaType(&type) != S_OK || !type) return;
  if (Accepts(*type)) {
    const BITMAPINFOHEADER* header = RgbHeader(*type);
    stride_ = header->biHeight < 0 ? -header->biWidth * 4 : header->biWidth * 4;
    Retype(OwnedMediaType(type->majortype, type->subtype, type->formattype, type->pbFormat, type->cbFormat));
  }
  DeleteMediaType(type);
}

HRESULT ShrinkerOutputPin::Deliver(IMediaSample* in) {
  if (!input_ || !allocator_) return VFW_E_NOT_CONNECTED;
  PictureShrinker::Source picture = filter_.Picture();
  BYTE* from = nullptr;
  size_t needed = 0;
  if (FAILED(in->GetPointer(&from)) || !from) return S_OK;
  std::optional<Yuv420Order> order = PictureShrinker::OrderOf(picture.subtype);
  if (!order) return VFW_E_NOT_CONNECTED;
  Yuv420View view = Yuv420Planes(*order, from, picture.bufferWidth, picture.bufferHeight, &needed);
  // A sample too short for its picture is left out, not read past.
  if (!view.luma || static_cast<size_t>(in->GetActualDataLength()) < needed) return S_OK;
  view.width = picture.width;
  view.height = picture.height;

  ComPtr<IMediaSample> out;
  HRESULT got = allocator_->GetBuffer(&out, nullptr, nullptr, 0);
  if (FAILED(got)) return got;  // stopping
  AdoptRendererType(out.Get());
  SIZE size = filter_.Shrunk();
  long rowBytes = std::abs(stride_);
  BYTE* to = nullptr;
  if (FAILED(out->GetPointer(&to)) || out->GetSize() < rowBytes * size.cy) return E_UNEXPECTED;
  PictureTarget target;
  target.layout = PixelLayout::kRgb32;
  target.width = size.cx;
  target.height = size.cy;
  target.rows = stride_ < 0 ? to : to + static_cast<ptrdiff_t>(rowBytes) * (size.cy - 1);
  target.stride = stride_ < 0 ? rowBytes : -rowBytes;
  ShrinkYuv420ToRgb32(view, target);
  (void)out->SetActualDataLength(rowBytes * size.cy);
  CopyTimes(in, out.Get());
  return input_->Receive(out.Get());
}

ComPtr<IMediaSeeking> ShrinkerOutputPin::SeekingUpstream() const { return SeekingOf(filter_.Input()->Peer()); }

}  // namespace lumorix::engine
