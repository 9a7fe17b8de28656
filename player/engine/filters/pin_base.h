#pragma once
// What the pins of the player's own filters share: the filter that owns them
// (and counts their references), their name and direction, the connection,
// and the media types they offer.
#include <windows.h>
#include "platform/dshow.h"

#include <mutex>
#include <string>
#include <vector>

#include "platform/com.h"
#include "player/engine/filters/media_type.h"

namespace lumorix::engine {

class PinBase : public IPin {
 public:
  PinBase(IBaseFilter& filter, std::wstring name, PIN_DIRECTION direction)
      : owner_(filter), name_(std::move(name)), direction_(direction) {}
  PinBase(const PinBase&) = delete;
  PinBase& operator=(const PinBase&) = delete;
  virtual ~PinBase() = default;

  bool Connected() const;
  ComPtr<IPin> Peer() const;

  // The pin lives as long as its filter.
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }
  HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** pin) override;
  HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
  HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* direction) override;
  HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override;
  HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** types) override;

 protected:
  // IUnknown and IPin, and the pin's other interface `other` as `otherIid`.
  HRESULT Query(REFIID iid, void** object, REFIID otherIid, IUnknown* other);
  // The types the pin offers, in order of preference; none until it can say.
  virtual std::vector<OwnedMediaType> Offered() const = 0;
  void Attach(IPin* peer, const OwnedMediaType& type);
  // The connection's type changed (a renderer asked for other rows).
  void Retype(const OwnedMediaType& type);
  void Detach();

 private:
  IBaseFilter& owner_;
  std::wstring name_;
  PIN_DIRECTION direction_;
  mutable std::mutex connection_;  // only ever held alone
  ComPtr<IPin> peer_;
  OwnedMediaType type_;
};

}  // namespace lumorix::engine
