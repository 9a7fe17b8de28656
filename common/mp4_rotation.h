#pragma once
// The display rotation an MP4 or QuickTime file stores for its picture: the
// track header's matrix of the first video track. Phones record portrait
// video as landscape frames with such a matrix. The file is untrusted: every
// box is checked against its parent before it is read.
#include <cstddef>
#include <cstdint>
#include <functional>

namespace lumorix {

// Reads `size` bytes at `offset`; false when they are not all there.
using ReadAt = std::function<bool(uint64_t offset, void* buffer, size_t size)>;

// Clockwise quarter turns (0 to 3) that show the first video track upright;
// 0 for another kind of file, no video track, or a matrix that is no quarter turn.
int Mp4QuarterTurns(const ReadAt& read, uint64_t fileSize);

// The quarter turns of a track header's matrix (16.16 fixed-point a, b, c, d).
int MatrixQuarterTurns(int32_t a, int32_t b, int32_t c, int32_t d);

}  // namespace lumorix
