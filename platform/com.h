#pragma once
// COM helpers: a reference-counted base for the program's own COM objects,
// and the HRESULT text the platform gives.
#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <atomic>
#include <string>
#include <utility>

namespace lumorix {

using Microsoft::WRL::ComPtr;

// Implements IUnknown for `Interfaces`; the object deletes itself with its
// last reference. Create instances with MakeCom.
template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == __uuidof(IUnknown)) {
      *object = static_cast<IUnknown*>(static_cast<FirstInterface*>(this));
    } else {
      ((iid == __uuidof(Interfaces) ? (*object = static_cast<Interfaces*>(this), true) : false) || ...);
    }
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~ComObject() = default;

 private:
  template <typename First, typename...>
  struct Front {
    using type = First;
  };
  using FirstInterface = typename Front<Interfaces...>::type;
  std::atomic<ULONG> references_{0};
};

template <typename T, typename... Args>
ComPtr<T> MakeCom(Args&&... args) {
  return ComPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace lumorix
