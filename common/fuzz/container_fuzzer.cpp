// The readers of clip headers (MP4 boxes, Matroska elements) on arbitrary
// bytes: every read stays within the file, and the answers are in range.
#include <cstdlib>
#include <cstring>

#include "common/matroska_length.h"
#include "common/mp4_rotation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumorix;
  ReadAt read = [&](uint64_t offset, void* buffer, size_t length) {
    if (offset > size || length > size - offset) return false;
    std::memcpy(buffer, data + offset, length);
    return true;
  };
  Mp4VideoTrack track = FindMp4VideoTrack(read, size);
  if (track.quarterTurns < 0 || track.quarterTurns > 3 || (!track.present && track.quarterTurns != 0)) std::abort();
  StatedLength stated = MatroskaStatedLength(read, size);
  if (stated != StatedLength::kUnknown && (size < 4 || std::memcmp(data, "\x1A\x45\xDF\xA3", 4) != 0)) std::abort();
  return 0;
}
