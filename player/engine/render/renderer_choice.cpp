#include "player/engine/render/renderer_choice.h"

#include <cwchar>
#include <iterator>

#include "player/engine/overlay/overlay_hardware.h"
#include "player/engine/render/enhanced_renderer.h"
#include "player/engine/render/legacy_renderer.h"
#include "platform/wine_host.h"

namespace lumorix::engine {

namespace {

EnhancedFilterFactory& Factory() {
  static EnhancedFilterFactory factory;
  return factory;
}

HRESULT SystemEnhancedFilter(ComPtr<IBaseFilter>& filter) {
  return CoCreateInstance(kEnhancedVideoRendererClass, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter));
}

}  // namespace

std::unique_ptr<IVideoRenderer> ChooseVideoRenderer(bool overlayPath, RendererPreference preference,
                                                    const EnhancedFilterFactory& makeEnhanced) {
  if (!overlayPath && preference != RendererPreference::kLegacy) {
    ComPtr<IBaseFilter> filter;
    if (SUCCEEDED(makeEnhanced(filter)) && filter) {
      if (auto enhanced = EnhancedRenderer::Create(std::move(filter))) return enhanced;
    }
  }
  return LegacyRenderer::Create();
}

std::unique_ptr<IVideoRenderer> ChooseVideoRenderer() {
  RendererPreference preference = PreferenceFromEnvironment();
  // Wine's enhanced renderer (8.0) ends the process when a graph disconnects
  // its input, which every change of clip does; only a forced choice takes it.
  if (preference == RendererPreference::kAutomatic && !Factory() && platform::RunningOnWine())
    preference = RendererPreference::kLegacy;
  // Asking DirectDraw costs little, but a forced choice needs no answer.
  bool overlayPath = preference == RendererPreference::kAutomatic && DisplayHasOverlays();
  return ChooseVideoRenderer(overlayPath, preference, Factory() ? Factory() : SystemEnhancedFilter);
}

RendererPreference PreferenceFromEnvironment() {
  wchar_t value[16] = {};
  DWORD length = GetEnvironmentVariableW(L"LUMORIX_RENDERER", value, static_cast<DWORD>(std::size(value)));
  if (length == 0 || length >= std::size(value)) return RendererPreference::kAutomatic;
  if (_wcsicmp(value, L"legacy") == 0) return RendererPreference::kLegacy;
  if (_wcsicmp(value, L"enhanced") == 0) return RendererPreference::kEnhanced;
  return RendererPreference::kAutomatic;
}

void SetEnhancedFilterFactory(EnhancedFilterFactory factory) { Factory() = std::move(factory); }

}  // namespace lumorix::engine
