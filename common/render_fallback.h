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

// Whether a source with these streams meets the need; also whether its render
// did (a sound card missing leaves the sound out there too, and then the
// graph's own render stands).
bool MeetsNeed(FallbackNeed need, bool hasVideo, bool hasAudio);

// VFW_E_NO_DECOMPRESSOR, the result for a clip whose picture is there and
// nothing here decodes it.
inline constexpr int32_t kPictureNotDecoded = static_cast<int32_t>(0x80040255);

// The render's result as it stands: a clip with a picture that is not shown
// counts as not rendered (its sound alone over a blank desktop says nothing).
int32_t RefusedWithoutPicture(int32_t renderResult, bool picturePresent, bool pictureShown);

}  // namespace lumorix
