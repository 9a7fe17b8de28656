#include "player/engine/shrink/shrinker_insertion.h"

#include <cstdlib>

#include "player/engine/mf/mf_stream_reader.h"
#include "player/engine/filters/pin_walk.h"
#include "player/engine/shrink/picture_shrinker.h"

namespace lumorix::engine {

namespace {

// The connection's media type, copied.
OwnedMediaType ConnectionOf(IPin* pin) {
  AM_MEDIA_TYPE now{};
  if (FAILED(pin->ConnectionMediaType(&now))) return {};
  OwnedMediaType copy(now.majortype, now.subtype, now.formattype, now.pbFormat, now.cbFormat);
  FreeMediaTypeContents(now);
  return copy;
}

// A picture's size as a video info type gives it; none for other types.
SIZE PictureSize(const AM_MEDIA_TYPE& type) {
  if (type.majortype != MEDIATYPE_Video || type.formattype != FORMAT_VideoInfo || !type.pbFormat ||
      type.cbFormat < sizeof(VIDEOINFOHEADER))
    return {0, 0};
  const BITMAPINFOHEADER& header = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
  return {header.biWidth, std::abs(header.biHeight)};
}

// The first 4:2:0 YUV type `feeder` offers at `size`.
OwnedMediaType YuvOffer(IPin* feeder, SIZE size) {
  ComPtr<IEnumMediaTypes> types;
  if (FAILED(feeder->EnumMediaTypes(&types))) return {};
  AM_MEDIA_TYPE* type = nullptr;
  while (types->Next(1, &type, nullptr) == S_OK) {
    OwnedMediaType offer;
    SIZE offered = PictureSize(*type);
    if (PictureShrinker::TakesYuv(*type) && offered.cx == size.cx && offered.cy == size.cy)
      offer = OwnedMediaType(type->majortype, type->subtype, type->formattype, type->pbFormat, type->cbFormat);
    DeleteMediaType(type);
    if (offer.Get().pbFormat) return offer;
  }
  return {};
}

}  // namespace

bool InsertPictureShrinker(IFilterGraph* graph, IBaseFilter* renderer, SIZE limit) {
  ComPtr<IPin> rendererInput;
  if (!graph || !renderer || limit.cx <= 0 || limit.cy <= 0 || FAILED(FirstPin(renderer, rendererInput))) return false;
  ComPtr<IPin> feeder = PeerOf(rendererInput.Get());
  if (!feeder) return false;
  OwnedMediaType given = ConnectionOf(rendererInput.Get());
  SIZE size = PictureSize(given.Get());
  // A renderer that took YUV shrinks it itself, on the graphics card.
  if (PictureShrinker::TakesYuv(given.Get()) || (size.cx <= limit.cx && size.cy <= limit.cy)) return false;
  OwnedMediaType yuv = YuvOffer(feeder.Get(), size);
  if (!yuv.Get().pbFormat) return false;

  ComPtr<PictureShrinker> shrinker = MakeCom<PictureShrinker>(limit);
  if (FAILED(graph->AddFilter(shrinker.Get(), L"Picture Shrinker"))) return false;
  (void)graph->Disconnect(feeder.Get());
  (void)graph->Disconnect(rendererInput.Get());
  HRESULT result = graph->ConnectDirect(feeder.Get(), shrinker->Input(), &yuv.Get());
  if (SUCCEEDED(result)) result = graph->ConnectDirect(shrinker->Output(), rendererInput.Get(), nullptr);
  if (SUCCEEDED(result)) return true;
  // Removing the filter lets go of both its connections.
  (void)graph->RemoveFilter(shrinker.Get());
  (void)graph->ConnectDirect(feeder.Get(), rendererInput.Get(), &given.Get());
  return false;
}

}  // namespace lumorix::engine
