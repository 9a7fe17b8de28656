#pragma once
// The compression methods the reader accepts. Each returns zrOk or the
// failure: zrReadFailed when the input ran out, zrBadData for invalid data,
// zrWriteFailed when the output window could not be written.
#include <cstdint>

#include "setup/zip/entry_streams.h"

namespace lumorix::zip {

// Sizes < 0 are unlimited.
int32_t DecodeStored(EntryInput& input, OutputWindow& output, int64_t compressedSize);
// Raw deflate through zlib; the input is left just after the stream's end.
int32_t DecodeDeflated(EntryInput& input, OutputWindow& output);
int32_t DecodeShrunk(EntryInput& input, OutputWindow& output, int64_t size);
// `factor` 1 to 4 (methods 2 to 5).
int32_t DecodeReduced(EntryInput& input, OutputWindow& output, int factor, int64_t size);
// `flags`: bit 1 an 8 KB dictionary, bit 2 three trees.
int32_t DecodeImploded(EntryInput& input, OutputWindow& output, uint16_t flags, int64_t size);

}  // namespace lumorix::zip
