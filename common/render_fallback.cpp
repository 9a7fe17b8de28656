#include "common/render_fallback.h"

namespace lumorix {

FallbackNeed RenderFallbackFor(int32_t renderResult) {
  switch (static_cast<uint32_t>(renderResult)) {
    // No source, splitter or decoder could take the file or its streams.
    case 0x80040265:  // VFW_E_UNSUPPORTED_STREAM
    case 0x80040218:  // VFW_E_CANNOT_RENDER
    case 0x80040240:  // VFW_E_UNKNOWN_FILE_TYPE
    case 0x80040217:  // VFW_E_CANNOT_CONNECT
    case 0x8004022F:  // VFW_E_INVALID_FILE_FORMAT
    case 0x80040241:  // VFW_E_CANNOT_LOAD_SOURCE_FILTER
    case 0x80040207:  // VFW_E_NO_ACCEPTABLE_TYPES
    case 0x8004022A:  // VFW_E_TYPE_NOT_ACCEPTED
    case 0x80040206:  // VFW_E_NO_TYPES
      return FallbackNeed::kAnyStream;
    case 0x00040257:  // VFW_S_VIDEO_NOT_RENDERED
      return FallbackNeed::kVideo;
    case 0x00040258:  // VFW_S_AUDIO_NOT_RENDERED
      return FallbackNeed::kAudio;
    case 0x00040242:  // VFW_S_PARTIAL_RENDER
      return FallbackNeed::kBoth;
    default:
      // Success, and failures about the file itself (not found, no access) or
      // the machine, keep the graph's answer and its text.
      return FallbackNeed::kNone;
  }
}

bool MeetsNeed(FallbackNeed need, bool hasVideo, bool hasAudio) {
  switch (need) {
    case FallbackNeed::kAnyStream:
      return hasVideo || hasAudio;
    case FallbackNeed::kVideo:
      return hasVideo;
    case FallbackNeed::kAudio:
      return hasAudio;
    case FallbackNeed::kBoth:
      return hasVideo && hasAudio;
    case FallbackNeed::kNone:
      break;
  }
  return false;
}

int32_t RefusedWithoutPicture(int32_t renderResult, bool picturePresent, bool pictureShown) {
  return picturePresent && !pictureShown ? kPictureNotDecoded : renderResult;
}

}  // namespace lumorix
