#pragma once
// The Overlay Mixer's notification object for one video window. The mixer
// may call it on its own thread; the owner decides how the news reaches its
// window, and detaches itself before it goes away.
#include <windows.h>
#include "platform/dshow.h"

#include <mutex>

#include "platform/com.h"
#include "player/engine/overlay/mixer_pin_config.h"

namespace lumorix::engine {

class OverlayCallbackOwner {
 public:
  virtual void OverlayColorKeyChanged(COLORREF key) = 0;
  virtual void OverlaySizeChanged() = 0;

 protected:
  ~OverlayCallbackOwner() = default;
};

class TOverlayCallback : public ComObject<IDDrawExclModeVideoCallback> {
 public:
  explicit TOverlayCallback(OverlayCallbackOwner* owner) : owner_(owner) {}
  void Detach();

  HRESULT STDMETHODCALLTYPE OnUpdateOverlay(BOOL before, DWORD flags, BOOL oldVisible, const RECT* oldSource,
                                            const RECT* oldTarget, BOOL newVisible, const RECT* newSource,
                                            const RECT* newTarget) override;
  HRESULT STDMETHODCALLTYPE OnUpdateColorKey(const COLORKEY* key, DWORD color) override;
  HRESULT STDMETHODCALLTYPE OnUpdateSize(DWORD width, DWORD height, DWORD aspectWidth, DWORD aspectHeight) override;

 private:
  std::mutex lock_;
  OverlayCallbackOwner* owner_;
};

}  // namespace lumorix::engine
