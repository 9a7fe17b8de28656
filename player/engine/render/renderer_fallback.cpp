#include "player/engine/render/renderer_fallback.h"

#include "player/engine/filters/media_type.h"
#include "player/engine/filters/pin_walk.h"

namespace lumorix::engine {

namespace {

bool OffersVideo(IPin* pin) {
  ComPtr<IEnumMediaTypes> types;
  if (FAILED(pin->EnumMediaTypes(&types))) return false;
  AM_MEDIA_TYPE* type = nullptr;
  bool video = false;
  while (!video && types->Next(1, &type, nullptr) == S_OK) {
    video = type->majortype == MEDIATYPE_Video;
    FreeMediaTypeContents(*type);
    CoTaskMemFree(type);
  }
  return video;
}

}  // namespace

ComPtr<IPin> TakeUnrenderedPicture(IFilterGraph* graph, IBaseFilter* own) {
  for (auto& filter : FiltersOf(graph)) {
    if (SameObject(filter.Get(), own) || IsRenderer(filter.Get())) continue;
    for (auto& pin : PinsOf(filter.Get())) {
      if (IsInput(pin.Get())) continue;
      ComPtr<IPin> peer = PeerOf(pin.Get());
      if (!peer) {
        if (OffersVideo(pin.Get())) return pin;
        continue;
      }
      ComPtr<IBaseFilter> next = OwnerOf(peer.Get());
      if (!next || SameObject(next.Get(), own) || !IsRenderer(next.Get()) || !CarriesVideo(pin.Get())) continue;
      (void)pin->Disconnect();
      (void)peer->Disconnect();
      (void)graph->RemoveFilter(next.Get());
      return pin;
    }
  }
  return nullptr;
}

}  // namespace lumorix::engine
