#include "player/engine/overlay/overlay_hardware.h"

#include <windows.h>
#include <ddraw.h>
#include <dwmapi.h>

#include "common/overlay_path.h"
#include "platform/com.h"
#include "platform/system_library.h"

namespace lumorix::engine {

namespace {

std::function<bool()>& Probe() {
  static std::function<bool()> probe;
  return probe;
}

std::function<bool()>& CompositionProbe() {
  static std::function<bool()> probe;
  return probe;
}

bool AskDirectDraw() {
  ComPtr<IDirectDraw> directDraw;
  static const auto create = platform::SystemFunction<decltype(&DirectDrawCreate)>(L"ddraw.dll", "DirectDrawCreate");
  if (!create || FAILED(create(nullptr, &directDraw, nullptr))) return false;
  DDCAPS hardware{};
  hardware.dwSize = sizeof hardware;
  DDCAPS emulated{};
  emulated.dwSize = sizeof emulated;
  if (FAILED(directDraw->GetCaps(&hardware, &emulated))) return false;
  return (hardware.dwCaps & DDCAPS_OVERLAY) != 0 && hardware.dwMaxVisibleOverlays > 0;
}

// The window manager's answer and the running version (RtlGetVersion tells
// the truth whatever the manifest says).
DisplayFacts AskWindowManager() {
  DisplayFacts facts;
  static const auto composed =
      platform::SystemFunction<decltype(&DwmIsCompositionEnabled)>(L"dwmapi.dll", "DwmIsCompositionEnabled");
  BOOL enabled = FALSE;
  facts.compositionReported = composed && SUCCEEDED(composed(&enabled)) && enabled;
  using VersionQuery = LONG(WINAPI*)(OSVERSIONINFOW*);
  static const auto version = reinterpret_cast<VersionQuery>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (version && version(&info) == 0) {
    facts.major = info.dwMajorVersion;
    facts.minor = info.dwMinorVersion;
  }
  return facts;
}

}  // namespace

bool DisplayHasOverlays() {
  DisplayFacts facts;
  if (CompositionProbe()) {
    facts.compositionReported = CompositionProbe()();
  } else {
    facts = AskWindowManager();
  }
  // Composed, the key would be painted as plain colour whatever DirectDraw says: not asked.
  if (!OverlayPathUsable({true, facts.compositionReported, facts.major, facts.minor})) return false;
  facts.directDrawOverlay = Probe() ? Probe()() : AskDirectDraw();
  return OverlayPathUsable(facts);
}

void SetOverlayHardwareProbe(std::function<bool()> probe) { Probe() = std::move(probe); }

void SetDesktopCompositionProbe(std::function<bool()> probe) { CompositionProbe() = std::move(probe); }

}  // namespace lumorix::engine
