#include "player/engine/filters/filter_base.h"

#include <cstring>

#include "player/engine/filters/list_enumerator.h"

namespace lumorix::engine {

namespace {

HRESULT HandPin(const ComPtr<IPin>& pin, IPin** out) {
  *out = pin.Get();
  (*out)->AddRef();
  return S_OK;
}

using PinEnumerator = ListEnumerator<IEnumPins, ComPtr<IPin>, IPin*, HandPin>;

}  // namespace

HRESULT FilterBase::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IPersist || iid == IID_IMediaFilter) {
    *object = static_cast<IBaseFilter*>(this);
    AddRef();
    return S_OK;
  }
  return ComObject<IBaseFilter>::QueryInterface(iid, object);
}

HRESULT FilterBase::GetClassID(CLSID* id) {
  if (!id) return E_POINTER;
  *id = classId_;
  return S_OK;
}

HRESULT FilterBase::Stop() {
  std::lock_guard hold(lock_);
  state_ = State_Stopped;
  Deactivate();
  return S_OK;
}

HRESULT FilterBase::Start(FILTER_STATE state) {
  std::lock_guard hold(lock_);
  if (state_ == State_Stopped) Activate();
  state_ = state;
  return S_OK;
}

HRESULT FilterBase::Pause() { return Start(State_Paused); }
HRESULT FilterBase::Run(REFERENCE_TIME) { return Start(State_Running); }

HRESULT FilterBase::GetState(DWORD, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  *state = state_;
  return S_OK;
}

HRESULT FilterBase::SetSyncSource(IReferenceClock* clock) {
  std::lock_guard hold(lock_);
  clock_ = clock;
  return S_OK;
}

HRESULT FilterBase::GetSyncSource(IReferenceClock** clock) {
  if (!clock) return E_POINTER;
  std::lock_guard hold(lock_);
  *clock = clock_.Get();
  if (*clock) (*clock)->AddRef();
  return S_OK;
}

HRESULT FilterBase::EnumPins(IEnumPins** pins) {
  if (!pins) return E_POINTER;
  try {
    std::vector<ComPtr<IPin>> list;
    for (IPin* pin : Pins()) list.emplace_back(pin);
    *pins = MakeCom<PinEnumerator>(std::move(list), 0).Detach();
  } catch (...) {
    *pins = nullptr;
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT FilterBase::FindPin(LPCWSTR id, IPin** pin) {
  if (!id || !pin) return E_POINTER;
  *pin = nullptr;
  for (IPin* candidate : Pins()) {
    LPWSTR name = nullptr;
    if (FAILED(candidate->QueryId(&name))) continue;
    bool same = std::wcscmp(name, id) == 0;
    CoTaskMemFree(name);
    if (same) {
      *pin = candidate;
      (*pin)->AddRef();
      return S_OK;
    }
  }
  return VFW_E_NOT_FOUND;
}

HRESULT FilterBase::QueryFilterInfo(FILTER_INFO* info) {
  if (!info) return E_POINTER;
  std::lock_guard hold(lock_);
  std::memset(info, 0, sizeof *info);
  wcsncpy(info->achName, name_.c_str(), MAX_FILTER_NAME - 1);
  info->pGraph = graph_;
  if (graph_) graph_->AddRef();
  return S_OK;
}

HRESULT FilterBase::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
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
