#pragma once
// When a file the filter graph could not render (or rendered only in part)
// goes to Media Foundation instead. HRESULTs as plain 32-bit numbers so the
// rule stays portable.
#include <cstdint>

namespace lumorix {

// What Media Foundation must be able to decode for the file to go there.
enum class FallbackNeed {
  kNone,       // the graph's result stands: a full render, or a failure that is not about decoding
  kAnyStream,  // nothing could be rendered
  kVideo,      // the picture was left out
  kAudio,      // the sound was left out
  kBoth,       // some stream was left out, the graph does not say which
};

FallbackNeed RenderFallbackFor(int32_t renderResult);

// Whether a source with these streams meets the need.
bool MeetsNeed(FallbackNeed need, bool hasVideo, bool hasAudio);

}  // namespace lumorix
