#include "player/engine/overlay/overlay_callback.h"

namespace lumorix::engine {

void TOverlayCallback::Detach() {
  std::lock_guard guard(lock_);
  owner_ = nullptr;
}

HRESULT STDMETHODCALLTYPE TOverlayCallback::OnUpdateOverlay(BOOL, DWORD, BOOL, const RECT*, const RECT*, BOOL,
                                                            const RECT*, const RECT*) {
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TOverlayCallback::OnUpdateColorKey(const COLORKEY* key, DWORD) {
  if (!key) return E_POINTER;
  std::lock_guard guard(lock_);
  if (owner_) owner_->OverlayColorKeyChanged(key->HighColorValue);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TOverlayCallback::OnUpdateSize(DWORD, DWORD, DWORD, DWORD) {
  std::lock_guard guard(lock_);
  if (owner_) owner_->OverlaySizeChanged();
  return S_OK;
}

}  // namespace lumorix::engine
