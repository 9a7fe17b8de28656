#include "player/engine/filters/pin_walk.h"

#include "player/engine/filters/media_type.h"

namespace lumorix::engine {

std::vector<ComPtr<IBaseFilter>> FiltersOf(IFilterGraph* graph) {
  std::vector<ComPtr<IBaseFilter>> filters;
  ComPtr<IEnumFilters> walk;
  if (!graph || FAILED(graph->EnumFilters(&walk))) return filters;
  ComPtr<IBaseFilter> filter;
  while (walk->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK) filters.push_back(filter);
  return filters;
}

std::vector<ComPtr<IPin>> PinsOf(IBaseFilter* filter) {
  std::vector<ComPtr<IPin>> pins;
  ComPtr<IEnumPins> walk;
  if (!filter || FAILED(filter->EnumPins(&walk))) return pins;
  ComPtr<IPin> pin;
  while (walk->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) pins.push_back(pin);
  return pins;
}

HRESULT FirstPin(IBaseFilter* filter, ComPtr<IPin>& pin) {
  ComPtr<IEnumPins> walk;
  HRESULT result = filter->EnumPins(&walk);
  if (FAILED(result)) return result;
  result = walk->Next(1, pin.ReleaseAndGetAddressOf(), nullptr);
  if (result != S_OK) return FAILED(result) ? result : VFW_E_NOT_FOUND;
  return S_OK;
}

ComPtr<IPin> PeerOf(IPin* pin) {
  ComPtr<IPin> peer;
  if (pin && FAILED(pin->ConnectedTo(&peer))) peer.Reset();
  return peer;
}

bool IsConnected(IPin* pin) { return static_cast<bool>(PeerOf(pin)); }

bool FirstPinConnected(IBaseFilter* filter) {
  ComPtr<IPin> pin;
  return filter && SUCCEEDED(FirstPin(filter, pin)) && IsConnected(pin.Get());
}

bool IsInput(IPin* pin) {
  PIN_DIRECTION direction;
  return SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT;
}

ComPtr<IPin> FirstFreeInput(IBaseFilter* filter) {
  for (auto& pin : PinsOf(filter))
    if (IsInput(pin.Get()) && !IsConnected(pin.Get())) return pin;
  return nullptr;
}

ComPtr<IBaseFilter> OwnerOf(IPin* pin) {
  PIN_INFO info{};
  ComPtr<IBaseFilter> owner;
  if (pin && SUCCEEDED(pin->QueryPinInfo(&info))) owner.Attach(info.pFilter);
  return owner;
}

bool IsClass(IBaseFilter* filter, const GUID& classId) {
  CLSID actual{};
  return filter && SUCCEEDED(filter->GetClassID(&actual)) && actual == classId;
}

bool SameObject(IUnknown* a, IUnknown* b) {
  if (!a || !b) return false;
  ComPtr<IUnknown> first, second;
  if (FAILED(a->QueryInterface(IID_PPV_ARGS(&first))) || FAILED(b->QueryInterface(IID_PPV_ARGS(&second)))) return false;
  return first.Get() == second.Get();
}

void DisconnectPins(IBaseFilter* filter) {
  for (auto& pin : PinsOf(filter)) (void)pin->Disconnect();
}

bool IsRenderer(IBaseFilter* filter) {
  for (auto& pin : PinsOf(filter))
    if (!IsInput(pin.Get())) return false;
  return true;
}

bool CarriesVideo(IPin* pin) {
  AM_MEDIA_TYPE type{};
  if (FAILED(pin->ConnectionMediaType(&type))) return false;
  bool video = type.majortype == MEDIATYPE_Video;
  FreeMediaTypeContents(type);
  return video;
}

}  // namespace lumorix::engine
