#include "player/engine/overlay/overlay_hardware.h"

#include <windows.h>
#include <ddraw.h>

#include "platform/com.h"
#include "platform/system_library.h"

namespace lumorix::engine {

namespace {

std::function<bool()>& Probe() {
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

}  // namespace

bool DisplayHasOverlays() { return Probe() ? Probe()() : AskDirectDraw(); }

void SetOverlayHardwareProbe(std::function<bool()> probe) { Probe() = std::move(probe); }

}  // namespace lumorix::engine
