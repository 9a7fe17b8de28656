#include "player/engine/filters/pin_base.h"

#include <cstring>

#include "player/engine/filters/list_enumerator.h"

namespace lumorix::engine {

namespace {

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

using MediaTypeEnumerator = ListEnumerator<IEnumMediaTypes, OwnedMediaType, AM_MEDIA_TYPE*, HandMediaType>;

}  // namespace

HRESULT PinBase::Query(REFIID iid, void** object, REFIID otherIid, IUnknown* other) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IPin)
    *object = static_cast<IPin*>(this);
  else if (iid == otherIid)
    *object = other;
  if (!*object) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

bool PinBase::Connected() const {
  std::lock_guard hold(connection_);
  return static_cast<bool>(peer_);
}

ComPtr<IPin> PinBase::Peer() const {
  std::lock_guard hold(connection_);
  return peer_;
}

void PinBase::Attach(IPin* peer, const OwnedMediaType& type) {
  std::lock_guard hold(connection_);
  peer_ = peer;
  type_ = type;
}

void PinBase::Retype(const OwnedMediaType& type) {
  std::lock_guard hold(connection_);
  type_ = type;
}

void PinBase::Detach() {
  std::lock_guard hold(connection_);
  peer_.Reset();
  type_ = OwnedMediaType();
}

HRESULT PinBase::ConnectedTo(IPin** pin) {
  if (!pin) return E_POINTER;
  std::lock_guard hold(connection_);
  *pin = peer_.Get();
  if (!*pin) return VFW_E_NOT_CONNECTED;
  (*pin)->AddRef();
  return S_OK;
}

HRESULT PinBase::ConnectionMediaType(AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  std::lock_guard hold(connection_);
  if (!peer_) {
    std::memset(type, 0, sizeof *type);
    return VFW_E_NOT_CONNECTED;
  }
  return type_.CopyTo(type);
}

HRESULT PinBase::QueryPinInfo(PIN_INFO* info) {
  if (!info) return E_POINTER;
  std::memset(info, 0, sizeof *info);
  info->pFilter = &owner_;
  owner_.AddRef();
  info->dir = direction_;
  wcsncpy(info->achName, name_.c_str(), MAX_PIN_NAME - 1);
  return S_OK;
}

HRESULT PinBase::QueryDirection(PIN_DIRECTION* direction) {
  if (!direction) return E_POINTER;
  *direction = direction_;
  return S_OK;
}

HRESULT PinBase::QueryId(LPWSTR* id) {
  if (!id) return E_POINTER;
  size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
  *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (!*id) return E_OUTOFMEMORY;
  std::memcpy(*id, name_.c_str(), bytes);
  return S_OK;
}

HRESULT PinBase::EnumMediaTypes(IEnumMediaTypes** types) {
  if (!types) return E_POINTER;
  try {
    *types = MakeCom<MediaTypeEnumerator>(Offered(), 0).Detach();
  } catch (...) {
    *types = nullptr;
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

}  // namespace lumorix::engine
