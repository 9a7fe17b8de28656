#pragma once
// The picture an MP4 or QuickTime file says it has: its first video track,
// and the display rotation in that track header's matrix (phones record
// portrait video as landscape frames with such a matrix). The file is
// untrusted: every box is checked against its parent before it is read.
#include <cstdint>

#include "common/read_at.h"

namespace lumorix {

struct Mp4VideoTrack {
  bool present = false;  // the file has a video track, whether anything here decodes it or not
  int quarterTurns = 0;  // clockwise, 0 to 3, that show it upright; 0 for a matrix that is no quarter turn
};

// The first video track; none for another kind of file.
Mp4VideoTrack FindMp4VideoTrack(const ReadAt& read, uint64_t fileSize);

// The quarter turns of a track header's matrix (16.16 fixed-point a, b, c, d).
int MatrixQuarterTurns(int32_t a, int32_t b, int32_t c, int32_t d);

}  // namespace lumorix
