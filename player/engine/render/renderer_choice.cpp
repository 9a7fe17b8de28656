#include "player/engine/render/renderer_choice.h"

#include <cwchar>
#include <iterator>

#include "player/engine/overlay/overlay_hardware.h"
#include "player/engine/render/direct3d_renderer.h"
#include "player/engine/render/legacy_renderer.h"

namespace lumorix::engine {

RendererChoice ChooseVideoRenderer(bool overlayPath, RendererPreference preference) {
  RendererChoice choice;
  if (!overlayPath && preference != RendererPreference::kLegacy) {
    if (auto own = Direct3DRenderer::Create(choice.fallbackReason)) {
      choice.renderer = std::move(own);
      return choice;
    }
  }
  choice.renderer = LegacyRenderer::Create();
  return choice;
}

RendererChoice ChooseVideoRenderer() {
  RendererPreference preference = PreferenceFromEnvironment();
  // Asking DirectDraw costs little, but a forced choice needs no answer.
  bool overlayPath = preference == RendererPreference::kAutomatic && DisplayHasOverlays();
  return ChooseVideoRenderer(overlayPath, preference);
}

RendererPreference PreferenceFromEnvironment() {
  wchar_t value[16] = {};
  DWORD length = GetEnvironmentVariableW(L"LUMORIX_RENDERER", value, static_cast<DWORD>(std::size(value)));
  if (length == 0 || length >= std::size(value)) return RendererPreference::kAutomatic;
  if (_wcsicmp(value, L"legacy") == 0) return RendererPreference::kLegacy;
  if (_wcsicmp(value, L"direct3d") == 0) return RendererPreference::kDirect3D;
  return RendererPreference::kAutomatic;
}

}  // namespace lumorix::engine
