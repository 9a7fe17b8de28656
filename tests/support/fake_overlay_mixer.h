#pragma once
// A stand-in Overlay Mixer for the tests, registered for CLSID_OverlayMixer
// in the test process only: Wine has no Overlay Mixer, and no DirectDraw
// overlay for one to drive. The same pass-through filter stands in for the
// Line 21 decoders, which Wine lacks too. It connects like the real filter (video inputs,
// one "Output" pin), passes the samples it receives straight on to the
// renderer, and answers the pin-configuration and exclusive-mode calls from
// a state the test sets and reads.
#include <windows.h>
#include <ddraw.h>
#include "platform/dshow.h"

#include "platform/com.h"
#include "player/engine/overlay/mixer_pin_config.h"

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

// Registers the stand-in under `classId` for as long as it lives, with one
// or two inputs before its "Output" pin (the Overlay Mixer has two, a Line 21
// decoder one).
class FakeFilterRegistration {
 public:
  FakeFilterRegistration(const CLSID& classId, int inputs);
  ~FakeFilterRegistration();
  FakeFilterRegistration(const FakeFilterRegistration&) = delete;
  FakeFilterRegistration& operator=(const FakeFilterRegistration&) = delete;

  bool Registered() const { return cookie_ != 0; }
  FakeOverlayState& State() { return state_; }

 private:
  FakeOverlayState state_;
  DWORD cookie_ = 0;
};

// The stand-in Overlay Mixer, with the display counting as one with overlay
// hardware meanwhile.
class FakeOverlayMixerRegistration : public FakeFilterRegistration {
 public:
  FakeOverlayMixerRegistration();
  ~FakeOverlayMixerRegistration();
};

// One stand-in filter made directly, for a graph a test wires by hand.
ComPtr<IBaseFilter> MakeStandInFilter(FakeOverlayState& state, const CLSID& classId, int inputs);

}  // namespace lumorix::test
