#pragma once
// A stand-in Overlay Mixer for the tests, registered for CLSID_OverlayMixer
// in the test process only: Wine has no Overlay Mixer, and no DirectDraw
// overlay for one to drive. It connects like the real filter (video inputs,
// one "Output" pin), passes the samples it receives straight on to the
// renderer, and answers the pin-configuration and exclusive-mode calls from
// a state the test sets and reads.
#include <windows.h>
#include <ddraw.h>
#include "platform/dshow.h"

#include "platform/com.h"
#include "player/engine/mixer_pin_config.h"

namespace lumorix::test {

struct FakeOverlayState {
  // What the "hardware" offers before anything is applied.
  DDCOLORCONTROL hardwareDefaults{};
  // The colour controls as last written (starts as the hardware defaults).
  DDCOLORCONTROL current{};
  int colorWrites = 0;
  HRESULT callbackResult = S_OK;
  int registrations = 0;
  ComPtr<IDDrawExclModeVideoCallback> callback;
  COLORREF colorKey = RGB(16, 0, 16);
  DWORD aspectX = 4;
  DWORD aspectY = 3;
  DWORD aspectMode = 0;
  int created = 0;
};

// Registers the stand-in for as long as it lives, and has the display count
// as one with overlay hardware meanwhile.
class FakeOverlayMixerRegistration {
 public:
  FakeOverlayMixerRegistration();
  ~FakeOverlayMixerRegistration();
  FakeOverlayMixerRegistration(const FakeOverlayMixerRegistration&) = delete;
  FakeOverlayMixerRegistration& operator=(const FakeOverlayMixerRegistration&) = delete;

  bool Registered() const { return cookie_ != 0; }
  FakeOverlayState& State() { return state_; }

 private:
  FakeOverlayState state_;
  DWORD cookie_ = 0;
};

}  // namespace lumorix::test
