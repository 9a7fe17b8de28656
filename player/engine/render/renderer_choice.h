#pragma once
// Which renderer a video window gets: the player's own on Direct3D 11
// wherever a device can be made (a graphics card's, else WARP), the legacy
// Video Renderer for the overlay path (the Overlay Mixer draws only through
// it) and as the last fallback.
#include <memory>
#include <string>

#include "player/engine/render/video_renderer.h"

namespace lumorix::engine {

enum class RendererPreference { kAutomatic, kLegacy, kDirect3D };

struct RendererChoice {
  std::unique_ptr<IVideoRenderer> renderer;
  // Why the player's own renderer is not the one, when it should have been; empty otherwise.
  std::wstring fallbackReason;
};

RendererChoice ChooseVideoRenderer(bool overlayPath, RendererPreference preference);

// The same with the display's overlay answer and the player's preference: what a video window gets.
RendererChoice ChooseVideoRenderer();

// The preference for measuring one renderer against the other:
// LUMORIX_RENDERER=legacy or =direct3d in the player's environment.
RendererPreference PreferenceFromEnvironment();

}  // namespace lumorix::engine
