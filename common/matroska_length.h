#pragma once
// Whether a Matroska or WebM file states the length of its presentation.
// Browsers and recorders write WebM as a live stream, with no Duration in the
// segment's Info; a media source may then report the length of whatever it
// had parsed when asked, which is not the clip's. The file is untrusted:
// every element is checked against its parent before it is read.
#include <cstdint>

#include "common/read_at.h"

namespace lumorix {

enum class StatedLength {
  kUnknown,    // not Matroska, or a layout this reader does not follow
  kStated,     // the segment's Info has a Duration
  kNotStated,  // the segment's Info has none
};

StatedLength MatroskaStatedLength(const ReadAt& read, uint64_t fileSize);

}  // namespace lumorix
