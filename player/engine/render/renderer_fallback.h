#pragma once
// Where the picture went when the graph did not connect a window's renderer.
#include <windows.h>
#include "platform/dshow.h"

#include "platform/com.h"

namespace lumorix::engine {

// The output pin that carries a picture but does not reach `own`: one left
// unconnected, or one the graph connected to a renderer of its own choosing
// (which is taken out again). Empty when the graph has no such picture.
ComPtr<IPin> TakeUnrenderedPicture(IFilterGraph* graph, IBaseFilter* own);

}  // namespace lumorix::engine
