#pragma once
// What the player's own DirectShow filters share: the filter's state, clock,
// graph and name, and its pins found by their identifiers. A filter tells
// only what its pins are and what it does on leaving and entering the
// stopped state.
#include <windows.h>
#include "platform/dshow.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "platform/com.h"

namespace lumorix::engine {

class FilterBase : public ComObject<IBaseFilter> {
 public:
  explicit FilterBase(const CLSID& classId) : classId_(classId) {}

  FILTER_STATE State() const { return state_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  // IPersist
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override;
  // IMediaFilter
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
  HRESULT STDMETHODCALLTYPE GetState(DWORD timeout, FILTER_STATE* state) override;
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override;
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;
  // IBaseFilter
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override;
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) override;
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

 protected:
  virtual std::vector<IPin*> Pins() = 0;
  // Leaving the stopped state, and entering it; called with the filter's lock held.
  virtual void Activate() = 0;
  virtual void Deactivate() = 0;

 private:
  HRESULT Start(FILTER_STATE state);

  const CLSID classId_;
  std::recursive_mutex lock_;
  std::atomic<FILTER_STATE> state_{State_Stopped};
  ComPtr<IReferenceClock> clock_;
  IFilterGraph* graph_ = nullptr;  // not counted: the graph owns the filter
  std::wstring name_;
};

}  // namespace lumorix::engine
