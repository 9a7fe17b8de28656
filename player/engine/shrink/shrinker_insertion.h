#pragma once
// Where a picture shrinker goes: between a renderer given RGB larger than the
// screens can show and the filter feeding it, when that filter can hand out
// 4:2:0 YUV instead.
#include <windows.h>
#include "platform/dshow.h"

namespace lumorix::engine {

// Puts a shrinker in front of `renderer` (stopped graph) when its picture is
// RGB larger than `limit` and the filter feeding it offers YUV of the same
// size. Anything refused on the way puts the connection back as it was.
bool InsertPictureShrinker(IFilterGraph* graph, IBaseFilter* renderer, SIZE limit);

}  // namespace lumorix::engine
