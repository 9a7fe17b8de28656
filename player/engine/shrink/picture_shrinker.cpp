#include "player/engine/shrink/picture_shrinker.h"

#include <algorithm>
#include <cstring>

#include "common/video_geometry.h"
#include "player/engine/list_enumerator.h"
#include "player/engine/shrink/yuv_planes.h"

namespace lumorix::engine {

namespace {

// {2B8D7C41-95E3-4A6F-B0C2-6E1D3F9A7B54}: made in-process only, never registered.
constexpr CLSID kShrinkerClass = {0x2b8d7c41, 0x95e3, 0x4a6f, {0xb0, 0xc2, 0x6e, 0x1d, 0x3f, 0x9a, 0x7b, 0x54}};

HRESULT HandPin(const ComPtr<IPin>& pin, IPin** out) {
  *out = pin.Get();
  (*out)->AddRef();
  return S_OK;
}

HRESULT HandMediaType(const OwnedMediaType& type, AM_MEDIA_TYPE** out) {
  auto* copy = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (!copy) return E_OUTOFMEMORY;
  if (FAILED(type.CopyTo(copy))) {
    CoTaskMemFree(copy);
    return E_OUTOFMEMORY;
  }
  *out = copy;
  return S_OK;
}

using PinEnumerator = ListEnumerator<IEnumPins, ComPtr<IPin>, IPin*, HandPin>;
using MediaTypeEnumerator = ListEnumerator<IEnumMediaTypes, OwnedMediaType, AM_MEDIA_TYPE*, HandMediaType>;

}  // namespace

bool ShrinkerPin::Connected() const {
  std::lock_guard hold(lock_);
  return static_cast<bool>(peer_);
}

ComPtr<IPin> ShrinkerPin::Peer() const {
  std::lock_guard hold(lock_);
  return peer_;
}

OwnedMediaType ShrinkerPin::Type() const {
  std::lock_guard hold(lock_);
  return type_;
}

void ShrinkerPin::Attach(IPin* peer, const OwnedMediaType& type) {
  std::lock_guard hold(lock_);
  peer_ = peer;
  type_ = type;
}

void ShrinkerPin::Detach() {
  std::lock_guard hold(lock_);
  peer_.Reset();
  type_ = OwnedMediaType();
}

ULONG ShrinkerPin::AddRef() { return filter_.AddRef(); }
ULONG ShrinkerPin::Release() { return filter_.Release(); }

HRESULT ShrinkerPin::ConnectedTo(IPin** pin) {
  if (!pin) return E_POINTER;
  std::lock_guard hold(lock_);
  *pin = peer_.Get();
  if (!*pin) return VFW_E_NOT_CONNECTED;
  (*pin)->AddRef();
  return S_OK;
}

HRESULT ShrinkerPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  std::lock_guard hold(lock_);
  if (!peer_) {
    std::memset(type, 0, sizeof *type);
    return VFW_E_NOT_CONNECTED;
  }
  return type_.CopyTo(type);
}

HRESULT ShrinkerPin::QueryPinInfo(PIN_INFO* info) {
  if (!info) return E_POINTER;
  std::memset(info, 0, sizeof *info);
  info->pFilter = &filter_;
  filter_.AddRef();
  info->dir = direction_;
  wcsncpy(info->achName, name_.c_str(), MAX_PIN_NAME - 1);
  return S_OK;
}

HRESULT ShrinkerPin::QueryDirection(PIN_DIRECTION* direction) {
  if (!direction) return E_POINTER;
  *direction = direction_;
  return S_OK;
}

HRESULT ShrinkerPin::QueryId(LPWSTR* id) {
  if (!id) return E_POINTER;
  size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
  *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (!*id) return E_OUTOFMEMORY;
  std::memcpy(*id, name_.c_str(), bytes);
  return S_OK;
}

HRESULT ShrinkerPin::EnumMediaTypes(IEnumMediaTypes** types) {
  if (!types) return E_POINTER;
  try {
    *types = MakeCom<MediaTypeEnumerator>(Offered(), 0).Detach();
  } catch (...) {
    *types = nullptr;
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

bool PictureShrinker::TakesYuv(const AM_MEDIA_TYPE& type) {
  if (type.majortype != MEDIATYPE_Video || type.formattype != FORMAT_VideoInfo || !type.pbFormat ||
      type.cbFormat < sizeof(VIDEOINFOHEADER) || !IsYuv420(type.subtype))
    return false;
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
  // YUV rows run top-down whatever the sign says; a negative height is not a picture we know.
  const BITMAPINFOHEADER& header = info->bmiHeader;
  return header.biWidth >= 2 && header.biHeight >= 2 && header.biWidth <= 16384 && header.biHeight <= 16384;
}

PictureShrinker::Source PictureShrinker::Picture() const {
  std::lock_guard hold(lock_);
  return picture_;
}

void PictureShrinker::SetPicture(const Source& picture) {
  std::lock_guard hold(lock_);
  picture_ = picture;
}

SIZE PictureShrinker::Shrunk() const {
  Source picture = Picture();
  if (picture.width <= limit_.cx && picture.height <= limit_.cy) return {picture.width, picture.height};
  PictureRect fit = LetterBoxFit(limit_.cx, limit_.cy, picture.width, picture.height);
  return {std::max(1, fit.width), std::max(1, fit.height)};
}

HRESULT PictureShrinker::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IPersist || iid == IID_IMediaFilter) {
    *object = static_cast<IBaseFilter*>(this);
    AddRef();
    return S_OK;
  }
  return ComObject<IBaseFilter>::QueryInterface(iid, object);
}

HRESULT PictureShrinker::GetClassID(CLSID* id) {
  if (!id) return E_POINTER;
  *id = kShrinkerClass;
  return S_OK;
}

HRESULT PictureShrinker::Stop() {
  std::lock_guard hold(lock_);
  state_ = State_Stopped;
  output_.Inactive();
  return S_OK;
}

HRESULT PictureShrinker::Pause() {
  std::lock_guard hold(lock_);
  if (state_ == State_Stopped) output_.Active();
  state_ = State_Paused;
  return S_OK;
}

HRESULT PictureShrinker::Run(REFERENCE_TIME) {
  std::lock_guard hold(lock_);
  if (state_ == State_Stopped) output_.Active();
  state_ = State_Running;
  return S_OK;
}

HRESULT PictureShrinker::GetState(DWORD, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  *state = state_;
  return S_OK;
}

HRESULT PictureShrinker::SetSyncSource(IReferenceClock* clock) {
  std::lock_guard hold(lock_);
  clock_ = clock;
  return S_OK;
}

HRESULT PictureShrinker::GetSyncSource(IReferenceClock** clock) {
  if (!clock) return E_POINTER;
  std::lock_guard hold(lock_);
  *clock = clock_.Get();
  if (*clock) (*clock)->AddRef();
  return S_OK;
}

HRESULT PictureShrinker::EnumPins(IEnumPins** pins) {
  if (!pins) return E_POINTER;
  try {
    *pins = MakeCom<PinEnumerator>(std::vector<ComPtr<IPin>>{static_cast<IPin*>(Input()), static_cast<IPin*>(Output())}, 0).Detach();
  } catch (...) {
    *pins = nullptr;
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT PictureShrinker::FindPin(LPCWSTR id, IPin** pin) {
  if (!id || !pin) return E_POINTER;
  *pin = nullptr;
  if (std::wcscmp(id, L"YUV") == 0) *pin = Input();
  if (std::wcscmp(id, L"RGB") == 0) *pin = Output();
  if (!*pin) return VFW_E_NOT_FOUND;
  (*pin)->AddRef();
  return S_OK;
}

HRESULT PictureShrinker::QueryFilterInfo(FILTER_INFO* info) {
  if (!info) return E_POINTER;
  std::lock_guard hold(lock_);
  std::memset(info, 0, sizeof *info);
  wcsncpy(info->achName, name_.c_str(), MAX_FILTER_NAME - 1);
  info->pGraph = graph_;
  if (graph_) graph_->AddRef();
  return S_OK;
}

HRESULT PictureShrinker::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  std::lock_guard hold(lock_);
  try {
    name_ = name ? name : L"";
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  graph_ = graph;
  return S_OK;
}

}  // namespace lumorix::engine
