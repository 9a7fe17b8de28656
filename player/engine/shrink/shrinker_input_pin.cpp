#include "player/engine/shrink/picture_shrinker.h"

namespace lumorix::engine {

namespace {

// The picture a type describes: the buffer's size, and the part shown where
// the source rectangle names one inside it.
PictureShrinker::Source SourceOf(const AM_MEDIA_TYPE& type) {
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
  PictureShrinker::Source picture;
  picture.subtype = type.subtype;
  picture.bufferWidth = picture.width = info->bmiHeader.biWidth;
  picture.bufferHeight = picture.height = info->bmiHeader.biHeight;
  const RECT& shown = info->rcSource;
  if (shown.left == 0 && shown.top == 0 && shown.right > 1 && shown.bottom > 1 && shown.right <= picture.bufferWidth &&
      shown.bottom <= picture.bufferHeight) {
    picture.width = shown.right;
    picture.height = shown.bottom;
  }
  picture.frameTime = info->AvgTimePerFrame;
  return picture;
}

}  // namespace

ShrinkerInputPin::ShrinkerInputPin(PictureShrinker& filter) : InputPinBase(filter, L"YUV"), filter_(filter) {}

HRESULT ShrinkerInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
  if (!connector || !type) return E_POINTER;
  if (Connected()) return VFW_E_ALREADY_CONNECTED;
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (!PictureShrinker::TakesYuv(*type)) return VFW_E_TYPE_NOT_ACCEPTED;
  PictureShrinker::Source picture = SourceOf(*type);
  // The renderer was given a size; a picture of another size would need another connection.
  if (filter_.Output()->Connected()) {
    PictureShrinker::Source now = filter_.Picture();
    if (now.width != picture.width || now.height != picture.height) return VFW_E_TYPE_NOT_ACCEPTED;
  }
  filter_.SetPicture(picture);
  Attach(connector, OwnedMediaType(type->majortype, type->subtype, type->formattype, type->pbFormat, type->cbFormat));
  return S_OK;
}

HRESULT ShrinkerInputPin::Disconnect() {
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (!Connected()) return S_FALSE;
  ForgetAllocator();
  Detach();
  return S_OK;
}

HRESULT ShrinkerInputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  if (!PictureShrinker::TakesYuv(*type)) return S_FALSE;
  PictureShrinker::Source now = filter_.Picture(), asked = SourceOf(*type);
  return !Connected() || (now.width == asked.width && now.height == asked.height) ? S_OK : S_FALSE;
}

HRESULT ShrinkerInputPin::EndOfStream() {
  ComPtr<IPin> next = filter_.Output()->Peer();
  return next ? next->EndOfStream() : S_OK;
}

HRESULT ShrinkerInputPin::BeginFlush() {
  // Refused from here on, and the renderer lets go of its samples: a
  // picture waiting for a free buffer then gets one and is refused downstream.
  flushing_ = true;
  ComPtr<IPin> next = filter_.Output()->Peer();
  return next ? next->BeginFlush() : S_OK;
}

HRESULT ShrinkerInputPin::EndFlush() {
  ComPtr<IPin> next = filter_.Output()->Peer();
  HRESULT result = next ? next->EndFlush() : S_OK;
  flushing_ = false;
  return result;
}

HRESULT ShrinkerInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  ComPtr<IPin> next = filter_.Output()->Peer();
  return next ? next->NewSegment(start, stop, rate) : S_OK;
}

HRESULT ShrinkerInputPin::Receive(IMediaSample* sample) {
  if (!sample) return E_POINTER;
  if (flushing_) return S_FALSE;
  if (filter_.State() == State_Stopped) return VFW_E_WRONG_STATE;
  return filter_.Output()->Deliver(sample);
}

}  // namespace lumorix::engine
