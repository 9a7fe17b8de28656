#include "player/engine/mf_source_filter.h"

#include <algorithm>
#include <cstring>

#include "player/engine/list_enumerator.h"

namespace lumorix::engine {

namespace {

// {6F1D5E2A-3C47-4B8E-9D21-7A5B0C4E8F13}: the filter is made in-process only, never registered.
constexpr CLSID kMfSourceClass = {0x6f1d5e2a, 0x3c47, 0x4b8e, {0x9d, 0x21, 0x7a, 0x5b, 0x0c, 0x4e, 0x8f, 0x13}};

HRESULT HandPin(const ComPtr<IPin>& pin, IPin** out) {
  *out = pin.Get();
  (*out)->AddRef();
  return S_OK;
}

using PinEnumerator = ListEnumerator<IEnumPins, ComPtr<IPin>, IPin*, HandPin>;

}  // namespace

ComPtr<MfSourceFilter> MfSourceFilter::Create(const std::wstring& path, HRESULT* error) {
  ComPtr<MfSourceFilter> filter = MakeCom<MfSourceFilter>();
  HRESULT reason = S_OK;
  if (auto video = MfStreamReader::Open(path, MfStreamReader::Kind::kVideo, &reason, &filter->picturePresent_))
    filter->pins_.push_back(std::make_unique<MfOutputPin>(*filter.Get(), std::move(video), L"Video"));
  if (FAILED(reason)) {
    if (error) *error = reason;  // the file itself could not be opened
    return nullptr;
  }
  if (auto audio = MfStreamReader::Open(path, MfStreamReader::Kind::kAudio, &reason, nullptr))
    filter->pins_.push_back(std::make_unique<MfOutputPin>(*filter.Get(), std::move(audio), L"Audio"));
  // A picture Media Foundation does not even list (no decoder at all) is there all the same.
  if (!filter->picturePresent_) filter->picturePresent_ = StoredVideoTrack(path).present;
  if (filter->pins_.empty()) {
    if (error) *error = FAILED(reason) ? reason : VFW_E_UNSUPPORTED_STREAM;
    return nullptr;
  }
  return filter;
}

MfSourceFilter::~MfSourceFilter() {
  for (auto& pin : pins_) pin->Inactive();
}

bool MfSourceFilter::HasVideo() const {
  for (const auto& pin : pins_)
    if (pin->Kind() == MfStreamReader::Kind::kVideo) return true;
  return false;
}

bool MfSourceFilter::HasAudio() const {
  for (const auto& pin : pins_)
    if (pin->Kind() == MfStreamReader::Kind::kAudio) return true;
  return false;
}

HRESULT MfSourceFilter::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IPersist || iid == IID_IMediaFilter) {
    *object = static_cast<IBaseFilter*>(this);
    AddRef();
    return S_OK;
  }
  return ComObject<IBaseFilter>::QueryInterface(iid, object);
}

HRESULT MfSourceFilter::GetClassID(CLSID* id) {
  if (!id) return E_POINTER;
  *id = kMfSourceClass;
  return S_OK;
}

HRESULT MfSourceFilter::Stop() {
  std::lock_guard hold(lock_);
  for (auto& pin : pins_) pin->Inactive();
  state_ = State_Stopped;
  return S_OK;
}

HRESULT MfSourceFilter::Pause() {
  std::lock_guard hold(lock_);
  if (state_ == State_Stopped)
    for (auto& pin : pins_) pin->Active();
  state_ = State_Paused;
  return S_OK;
}

HRESULT MfSourceFilter::Run(REFERENCE_TIME) {
  std::lock_guard hold(lock_);
  if (state_ == State_Stopped)
    for (auto& pin : pins_) pin->Active();
  state_ = State_Running;
  return S_OK;
}

HRESULT MfSourceFilter::GetState(DWORD, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  std::lock_guard hold(lock_);
  *state = state_;
  return S_OK;
}

HRESULT MfSourceFilter::SetSyncSource(IReferenceClock* clock) {
  std::lock_guard hold(lock_);
  clock_ = clock;
  return S_OK;
}

HRESULT MfSourceFilter::GetSyncSource(IReferenceClock** clock) {
  if (!clock) return E_POINTER;
  std::lock_guard hold(lock_);
  *clock = clock_.Get();
  if (*clock) (*clock)->AddRef();
  return S_OK;
}

HRESULT MfSourceFilter::EnumPins(IEnumPins** pins) {
  if (!pins) return E_POINTER;
  try {
    std::vector<ComPtr<IPin>> list;
    for (auto& pin : pins_) list.emplace_back(pin.get());
    *pins = MakeCom<PinEnumerator>(std::move(list), 0).Detach();
  } catch (...) {
    *pins = nullptr;
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT MfSourceFilter::FindPin(LPCWSTR id, IPin** pin) {
  if (!id || !pin) return E_POINTER;
  *pin = nullptr;
  for (auto& candidate : pins_) {
    LPWSTR name = nullptr;
    if (FAILED(candidate->QueryId(&name))) continue;
    bool same = std::wcscmp(name, id) == 0;
    CoTaskMemFree(name);
    if (same) {
      *pin = candidate.get();
      (*pin)->AddRef();
      return S_OK;
    }
  }
  return VFW_E_NOT_FOUND;
}

HRESULT MfSourceFilter::QueryFilterInfo(FILTER_INFO* info) {
  if (!info) return E_POINTER;
  std::lock_guard hold(lock_);
  std::memset(info, 0, sizeof *info);
  wcsncpy(info->achName, name_.c_str(), MAX_FILTER_NAME - 1);
  info->pGraph = graph_;
  if (graph_) graph_->AddRef();
  return S_OK;
}

HRESULT MfSourceFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  std::lock_guard hold(lock_);
  try {
    name_ = name ? name : L"";
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  graph_ = graph;
  return S_OK;
}

HRESULT MfSourceFilter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

}  // namespace lumorix::engine
