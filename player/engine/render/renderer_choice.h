#pragma once
// Which renderer a video window gets: the enhanced one wherever it can be
// created, the legacy one for the overlay path (the Overlay Mixer draws only
// through it) and when the enhanced one is refused or does not connect.
#include <functional>
#include <memory>

#include "player/engine/render/video_renderer.h"

namespace lumorix::engine {

enum class RendererPreference { kAutomatic, kLegacy, kEnhanced };

// Makes the enhanced renderer's filter; the system's by default.
using EnhancedFilterFactory = std::function<HRESULT(ComPtr<IBaseFilter>& filter)>;

std::unique_ptr<IVideoRenderer> ChooseVideoRenderer(bool overlayPath, RendererPreference preference,
                                                    const EnhancedFilterFactory& makeEnhanced);

// The same with the display's overlay answer, the player's preference and the
// factory in use: what a video window gets. Under Wine, whose enhanced
// renderer cannot be disconnected, the legacy one unless forced.
std::unique_ptr<IVideoRenderer> ChooseVideoRenderer();

// The preference for measuring one renderer against the other:
// LUMORIX_RENDERER=legacy or =enhanced in the player's environment.
RendererPreference PreferenceFromEnvironment();

// Replaces the system's enhanced renderer (tests: one that is refused); an
// empty function restores it.
void SetEnhancedFilterFactory(EnhancedFilterFactory factory);

}  // namespace lumorix::engine
